// A fresh home for the PDFs of a test: HOME (and the configuration folder)
// moved to a temporary folder, so that a job without a printer writes its
// PDF into <home>/Documents/Dorv, and put back when it goes.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

namespace dorv::testing {

class PdfHome {
public:
    PdfHome() {
        savedHome_ = qgetenv("HOME");
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", home_.filePath("config").toUtf8());
    }
    ~PdfHome() { qputenv("HOME", savedHome_); }
    PdfHome(const PdfHome &) = delete;
    PdfHome &operator=(const PdfHome &) = delete;

    bool Ready() const { return home_.isValid(); }
    QString File(const QString &name) const { return home_.filePath(name); }
    // The PDFs written so far, by name.
    QStringList Pdfs() const {
        const QDir out(home_.filePath("Documents/Dorv"));
        QStringList paths;
        for (const QString &name : out.entryList({"*.pdf"}, QDir::Files, QDir::Name)) paths << out.filePath(name);
        return paths;
    }

private:
    QTemporaryDir home_;
    QByteArray savedHome_;
};

}  // namespace dorv::testing
