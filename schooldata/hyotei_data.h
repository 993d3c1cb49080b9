// Term ratings (評定) or school-register ratings (指導要録) of one grade,
// with up to six viewpoint letters (観点) per subject.
#pragma once

#include <cstdint>
#include <string>

namespace dorv {

struct THyoteiRec {
    uint8_t Rating;     // 1..5 as entered; 255 empty
    uint8_t Kanten[7];  // [viewpoint 1..6] a single-byte letter; 255 empty; [0] unused
};

class THyoteiData {
public:
    static constexpr int kSlots = 420;
    static constexpr int kSubjects = 9;  // 国語..技家
    static constexpr uint8_t kEmpty = 255;

    // 0 = the term workbook of SelectedTerm, anything else = the register.
    uint8_t IsYouroku = 0;
    // [slot 1..420][subject index + 1, 1..9]; row 0 and column 0 unused.
    THyoteiRec Hyotei[421][10] = {};
    uint8_t Modified[421] = {};  // [slot 1..420]
    uint8_t Exists[421] = {};    // [slot 1..420]; filled by the export only

    // Fills Hyotei from the workbook of IsYouroku / SelectedGrade /
    // SelectedTerm: reader first, the service when the reader fails (also
    // when a rating cell is not a whole number). On the service path a
    // rating that is not a whole number raises ConvertError
    // ("'%s' は整数ではありません"); missing workbook or sheet raise ExcelError.
    void LoadHyotei(uint8_t classCount);

    // Writes the rating column (Data, column B + subject) and the viewpoint
    // sheet (B..G) of one subject 0..8 for the flagged slots of classes
    // 1..classCount; clears all 420 flags.
    void SaveHyoteiSubject(uint8_t classCount, uint8_t subject);

    // The rating workbook named by IsYouroku / SelectedGrade / SelectedTerm.
    std::string WorkbookPath() const;

    // Reader cell handler (rows and columns from 0; sheet numbers from 1).
    void ReadHyoteiCell(unsigned sheetNo, unsigned row, unsigned col, const std::string &data);
};

}  // namespace dorv
