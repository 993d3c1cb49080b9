// A CUPS scheduler of the test program's own: cupsd started on a socket,
// spool and configuration folders of its own (as root, as in CI), with
// printers made from small PPD files, and CUPS_SERVER pointing this process
// at it. libcups reads CUPS_SERVER once, so one scheduler serves the whole
// program; it is stopped when the program ends, and dies with it when the
// program is killed. Every wait is bounded.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/types.h>

namespace dorv::testing {

struct CupsPrinter {
    QString name;
    // Paper the printer takes: "A4" or "Letter", printable to 18 points
    // (6.35 mm) from every edge.
    QString paper;
};

class CupsSandbox {
public:
    // The scheduler of this program, started at the first call.
    static CupsSandbox &Get();
    ~CupsSandbox();
    CupsSandbox(const CupsSandbox &) = delete;
    CupsSandbox &operator=(const CupsSandbox &) = delete;

    // Empty when the scheduler answers; otherwise why it does not.
    QString Problem() const { return problem_; }

    // The client commands of CUPS against this scheduler; true on success.
    bool MakeDefault(const QString &printer);
    bool Accept(const QString &printer, bool accept);
    // cupsenable / cupsdisable: a stopped printer still takes jobs and
    // holds them.
    bool Enable(const QString &printer, bool enable);
    // Adds `printer` (again), accepting and started, or removes it.
    bool Add(const CupsPrinter &printer);
    bool Remove(const QString &printer);
    // The documents the scheduler has taken so far (it keeps them), oldest
    // first.
    QStringList Documents() const;

private:
    CupsSandbox();
    bool Run(const QString &program, const QStringList &arguments) const;
    QString Socket() const;

    QTemporaryDir root_;
    pid_t pid_ = -1;
    QString problem_;
};

// The printers every test of the program finds.
inline const CupsPrinter kWideMargins{"dorv_wide", "A4"};
inline const CupsPrinter kLetterOnly{"dorv_letter", "Letter"};
// Not there at the start: a test adds it and takes it away.
inline const CupsPrinter kGone{"dorv_gone", "A4"};

}  // namespace dorv::testing
