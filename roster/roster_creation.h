// Making sure a grade's roster workbook can be edited: when it cannot be
// opened for reading and writing right now, it is created from the
// template "雛形-名簿.xls" through the temporary copy "Hinagata.xls", into
// which the student numbers of the grade's classes are written.
#pragma once

#include <cstdint>
#include <string>

namespace dorv {

class TKurasuSuData;
class THinagataFile;

// Creates the roster at `rosterPath`: copies the template to "Hinagata.xls",
// writes the numbers of classes 1..classCount (at most 10), copies that to
// `rosterPath` and removes "Hinagata.xls". The roster is only ever created
// where nothing lies at its path: a roster that exists (held open,
// read-only) or a folder there fails with "ファイル <rosterPath> を作成できません"
// and stays as it was. A desktop program's lock file beside the roster's
// path (the roster may be missing) is waited for under the retry rule; then
// the creation is refused with the same message, naming the lock file. The data folder's ".Hinagata.lock" is
// held for the whole creation, so two creations never mix their copies: the
// second waits, and gives up with "ファイル <Hinagata.xls> を作成できません"
// when the first takes too long. A lock the file system refuses is reported
// at once ("ファイル <.Hinagata.lock> をロックできません（<reason>）").
// Raises RosterFileError, or what the spreadsheet service raises.
void CreateRosterFromTemplate(THinagataFile &hinagata, const std::string &rosterPath, std::uint8_t classCount);

// The preparation before the editor opens on `grade`: loads the class
// counts (a failure stops here), waits while a desktop program's lock file
// lies beside the roster (refused as the creation is), and creates the
// roster when CanOpenFile says it cannot be opened.
void PrepareRoster(TKurasuSuData &counts, THinagataFile &hinagata, int grade);

}  // namespace dorv
