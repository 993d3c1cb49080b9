// School-report marks (内申, 1..5) of one grade and term, with the mark
// statistics of one subject.
#pragma once

#include <cstdint>
#include <string>

namespace dorv {

class TNaishinData {
public:
    static constexpr int kSlots = 420;
    static constexpr int kSubjects = 9;  // 国語..技家; entries 9..11 unused
    static constexpr uint8_t kEmpty = 255;

    uint8_t Mark[421][12] = {};  // [slot 1..420][subject 0..11]; 255 empty
    uint8_t Modified[421] = {};  // [slot 1..420]
    int32_t MarkCount = 0;       // marks counted by the last CalcNaishinStats
    // [mark 1..5] students holding that mark; 32-bit, since seven full
    // classes with one mark overflow a byte. [0] unused.
    uint32_t MarkBand[6] = {};
    float MarkMean = 0;  // 0 when nothing was counted

    // Term is not looked at: the workbook is that of SelectedGrade /
    // SelectedTerm. Reader first, the service when the reader fails; on the
    // service path a mark that is not a whole number raises ConvertError.
    void LoadNaishin(uint8_t term, uint8_t classCount);

    // Writes the column (B + subject, subject 0..8) of the flagged slots of
    // classes 1..classCount; clears all 420 flags.
    void SaveNaishinSubject(uint8_t term, uint8_t classCount, uint8_t subject);

    // MarkCount, MarkBand, MarkMean of one subject over classes 1..classCount.
    void CalcNaishinStats(uint8_t subject, uint8_t classCount);

    // The school-report workbook of SelectedGrade / SelectedTerm.
    static std::string WorkbookPath();

    // Reader cell handler (rows and columns from 0; sheet numbers from 1).
    void ReadNaishinCell(unsigned sheetNo, unsigned row, unsigned col, const std::string &data);
};

}  // namespace dorv
