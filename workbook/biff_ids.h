// The record ids and fixed values of the BIFF formats, shared by the reader
// (xbiff, biff_older) and the workbook service (biff8_*).
#pragma once

#include <cstddef>
#include <cstdint>

namespace dorv::biff8 {

namespace id {
constexpr std::uint16_t Bof = 0x0809;
constexpr std::uint16_t Eof = 0x000A;
constexpr std::uint16_t FilePass = 0x002F;
constexpr std::uint16_t Codepage = 0x0042;
constexpr std::uint16_t BoundSheet = 0x0085;
constexpr std::uint16_t Sst = 0x00FC;
constexpr std::uint16_t ExtSst = 0x00FF;
constexpr std::uint16_t Continue = 0x003C;
constexpr std::uint16_t Index = 0x020B;
constexpr std::uint16_t DefColWidth = 0x0055;
constexpr std::uint16_t ColInfo = 0x007D;
constexpr std::uint16_t Dimensions = 0x0200;
constexpr std::uint16_t Uncalced = 0x005E;
constexpr std::uint16_t Row = 0x0208;
constexpr std::uint16_t DbCell = 0x00D7;
constexpr std::uint16_t Blank = 0x0201;
constexpr std::uint16_t MulBlank = 0x00BE;
constexpr std::uint16_t Number = 0x0203;
constexpr std::uint16_t Rk = 0x027E;
constexpr std::uint16_t MulRk = 0x00BD;
constexpr std::uint16_t LabelSst = 0x00FD;
constexpr std::uint16_t Label = 0x0204;
constexpr std::uint16_t RString = 0x00D6;
constexpr std::uint16_t BoolErr = 0x0205;
constexpr std::uint16_t Formula = 0x0006;
constexpr std::uint16_t String = 0x0207;
constexpr std::uint16_t ShrFmla = 0x04BC;
constexpr std::uint16_t Array = 0x0221;
constexpr std::uint16_t Table = 0x0236;
constexpr std::uint16_t Window2 = 0x023E;
// Older versions (2 to 7), which only the reader takes.
constexpr std::uint16_t Bof2 = 0x0009;
constexpr std::uint16_t Bof3 = 0x0209;
constexpr std::uint16_t Bof4 = 0x0409;
constexpr std::uint16_t Integer2 = 0x0002;
constexpr std::uint16_t Number2 = 0x0003;
constexpr std::uint16_t Label2 = 0x0004;
constexpr std::uint16_t BoolErr2 = 0x0005;
constexpr std::uint16_t Formula3 = 0x0206;
constexpr std::uint16_t Formula4 = 0x0406;
constexpr std::uint16_t String2 = 0x0007;
constexpr std::uint16_t ColWidth2 = 0x0024;
constexpr std::uint16_t BundleSheet4 = 0x008E;
// What the writer adds to a new workbook.
constexpr std::uint16_t Font = 0x0031;
constexpr std::uint16_t Xf = 0x00E0;
constexpr std::uint16_t InterfaceHdr = 0x00E1;
constexpr std::uint16_t InterfaceEnd = 0x00E2;
constexpr std::uint16_t Window1 = 0x003D;
constexpr std::uint16_t Style = 0x0293;
}  // namespace id

// The BOF record's version word of BIFF8 and its substream types.
constexpr std::uint16_t kBiff8Version = 0x0600;
constexpr std::uint16_t kGlobalsType = 0x0005;
constexpr std::uint16_t kWorksheetType = 0x0010;

// The longest record body the format allows; longer data goes on in
// CONTINUE records.
constexpr std::size_t kMaxRecordBody = 8224;

}  // namespace dorv::biff8
