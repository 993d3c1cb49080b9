// The writer of the roster template's copy: the student numbers of every
// class of a grade go into column A of its sheet "Data".
#pragma once

#include <cstdint>
#include <string>

namespace dorv {

class THinagataFile {
public:
    // Writes into "Hinagata.xls" of the data folder.
    void WriteNumbers(std::uint8_t classCount);

    // For classes 1..classCount (at most 10) and numbers 1..42: A(slot + 1)
    // := class * 100 + number ("101" in A2, "142" in A43, "201" in A44).
    // Every other cell keeps what the workbook holds.
    static void WriteNumbersTo(const std::string &path, std::uint8_t classCount);
};

}  // namespace dorv

namespace dorv {
// The program's one writer, created and freed by the main window.
extern THinagataFile *CurHinagataFile;
}  // namespace dorv
