// xls-set FILE 'Sheet!B2=85' 'Data!C3=山田' 'Data!D4=' ...
// Opens FILE through the spreadsheet service, writes each cell (an empty
// value makes the cell blank), closes saving. Exits 1 with the service's
// message on any failure (3 when the workbook is busy), 2 on a bad argument.
#include <cstdio>
#include <map>
#include <string>

#include "schooldata/excel_service.h"

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: xls-set FILE 'Sheet!B2=value' ...\n");
        return 2;
    }
    try {
        dorv::TExcelApplication app;
        app.Connect();
        app.SetVisible(false);
        dorv::TExcelWorkbook book;
        book.Open(app, argv[1]);
        for (int i = 2; i < argc; ++i) {
            std::string arg = argv[i];
            auto bang = arg.rfind('!', arg.find('='));
            auto eq = arg.find('=');
            if (bang == std::string::npos || eq == std::string::npos || eq < bang) {
                std::fprintf(stderr, "xls-set: bad cell argument: %s\n", argv[i]);
                return 2;
            }
            dorv::TExcelWorksheet sheet = book.Worksheet(arg.substr(0, bang));
            sheet.WriteCell(arg.substr(bang + 1, eq - bang - 1), arg.substr(eq + 1));
        }
        book.Close(true);
        app.Quit();
    } catch (const dorv::ExcelTemporaryError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 3;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
