#include "desktop/error_box.h"

#include "desktop/services.h"

#include <stdexcept>

namespace dorv {

QString ErrorBoxText(const QString &message) {
    // A Japanese sentence that ends in its own full stop takes no second one.
    const bool stopped = message.endsWith(QLatin1Char('.')) || message.endsWith(QStringLiteral("。"));
    return stopped ? message : message + QLatin1Char('.');
}

void ShowCurrentError(QWidget *parent) {
    QString message;
    try {
        throw;
    } catch (const std::exception &e) {
        message = QString::fromUtf8(e.what());
    } catch (...) {
        message = QStringLiteral("予期しないエラーが発生しました");
    }
    Services().showError(parent, ErrorBoxText(message));
}

bool RunGuarded(const std::function<void()> &handler, QWidget *parent) {
    try {
        handler();
        return true;
    } catch (...) {
        ShowCurrentError(parent);
        return false;
    }
}

}  // namespace dorv
