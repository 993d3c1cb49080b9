// Raw scores of one test (regular or proficiency) for one grade, with the
// statistics of one column (entry forms) and of all subjects (display).
#pragma once

#include <cstdint>
#include <string>

#include "schooldata/globals.h"  // TTestId, SelectedGrade, SelectedTest

namespace dorv {

class ServiceSession;

// Statistics of one subject column, by class 1..10 (index 0 unused) and for
// the whole grade.
struct TColStats {
    int32_t ColCount[11];  // [class 1..10] students with a score (<= 100)
    int32_t ColTotalCount;
    int32_t ColSum[11];  // [class 1..10]
    int32_t ColTotalSum;
    float ColMean[11];    // [class 1..10]; 0 for a class without scores
    float ColTotalMean;   // 0 when nobody has a score
    int32_t ColBand[10];  // [band 0..9]: b*10..b*10+9, band 9 holds 90..100
};

// Statistics of every subject, filled by CalcAllStats of the print core.
struct TSubjStats {
    int32_t SubjCount[12];  // [subject 0..11]
    int32_t SubjSum[12];
    float SubjMean[12];
    int32_t Total5[421];  // [slot 1..420]; 1000 or more = excluded
    int32_t Total5Count;  // students whose total is at most 500
    int32_t Total5Sum;
};

class TSotenData {
public:
    static constexpr int kSlots = 420;
    static constexpr int kSubjects = 12;      // 0..11, 11 = none
    static constexpr int kTeikiColumns = 11;  // B..L: subjects 0..10
    static constexpr int kJitsuColumns = 5;   // B..F: subjects 0..4
    static constexpr uint8_t kEmpty = 255;

    // [slot 1..420][subject 0..11]; 0..100 a score, anything above 100 no
    // score, 255 empty. Row 0 is unused.
    uint8_t Score[421][12] = {};
    uint8_t Modified[421] = {};  // [slot 1..420]
    TColStats ColStats = {};
    TSubjStats SubjStats = {};

    // TestKind 0 loads the regular test, 1 the proficiency test of
    // SelectedGrade / SelectedTest; any other kind does nothing. Reader
    // first, the spreadsheet service when the reader fails. Raises only when
    // the service does (ExcelError).
    void LoadTest(TTestId id, uint8_t classCount);

    // Every subject column of the flagged slots of classes 1..classCount;
    // clears all 420 flags.
    void SaveTest(TTestId id, uint8_t classCount);

    // One subject column (index 0..10 regular, 0..4 proficiency) of the
    // flagged slots of classes 1..classCount; clears all 420 flags.
    void SaveTestColumn(TTestId id, uint8_t classCount, uint8_t column);

    // Fills ColStats for one subject column over classes 1..classCount.
    void CalcColumnStats(uint8_t column, uint8_t classCount);

    // The score workbook of SelectedGrade / SelectedTest for test kind 0 or
    // 1, by the test names in CurTeikiTestName / CurJitsuTestName; "" for
    // another kind or a missing test-name object.
    static std::string WorkbookPath(uint8_t testKind);

    // Reader cell handlers (rows and columns from 0; sheet numbers from 1).
    void ReadTeikiCell(unsigned sheetNo, unsigned row, unsigned col, const std::string &data);
    void ReadJitsuCell(unsigned sheetNo, unsigned row, unsigned col, const std::string &data);

    // The service path of a regular test: the score cells of sheet "Data"
    // for the slots of classes 1..classCount, from a workbook the session
    // holds open.
    void ReadTeikiExcel(ServiceSession &session, uint8_t classCount);

private:
    void Load(uint8_t testKind, uint8_t classCount);
    void ReadExcel(ServiceSession &session, uint8_t classCount, int columns);
    void Save(uint8_t testKind, uint8_t classCount, int firstColumn, int lastColumn);
};

}  // namespace dorv
