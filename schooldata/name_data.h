// The roster (名簿) of one grade: name and sex of every student slot.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dorv {

class TNameData {
public:
    static constexpr std::size_t kNameBytes = 14;
    static constexpr std::uint8_t kSexBoy = 0;
    static constexpr std::uint8_t kSexGirl = 1;
    static constexpr std::uint8_t kSexNone = 3;

    std::uint8_t Grade = 0;           // 1..3, set by the caller before LoadMeibo
    std::string Names[421];           // [slot 1..420], at most 14 CP932 bytes; "" = no student
    std::uint8_t Sex[421] = {};       // [slot 1..420] 0 boy, 1 girl, 3 (or 255) neither
    std::uint8_t Modified[421] = {};  // [slot 1..420]
    std::uint8_t Exists[421] = {};    // [slot 1..420] 1 = a name after the load
    // [slot 1..420] 1 = Names holds only the start of a longer name in the
    // workbook, so writing Names back would shorten it; set by the load.
    std::uint8_t Cut[421] = {};

    // Fills Names and Sex from the grade's "名簿.xls" (reader first, the
    // service when it fails), sets Exists for classes 1..classCount and
    // clears Modified. Raises only what the service path raises.
    void LoadMeibo(std::uint8_t classCount);

    // "名簿.xls" in the folder of Grade.
    std::string MeiboPath() const;

    // The reader's cell handler (sheet numbers from 1, rows/columns from 0).
    void ReadMeiboCell(unsigned sheetNo, unsigned row, unsigned col, const std::string &data);

    // "男" 0, "女" 1, every other text 3.
    static std::uint8_t SexFromText(std::string_view text);

private:
    // A name as the workbook holds it: Names gets what fits, Cut says
    // whether that was all of it.
    void loadName(int slot, std::string_view text);
};

}  // namespace dorv
