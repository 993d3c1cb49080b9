#include "cups_sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdlib>

namespace dorv::testing {
namespace {

constexpr int kCommandMs = 10000;
constexpr int kStartMs = 15000;

bool Write(const QString &path, const QString &text) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) >= 0;
}

QString Ppd(const CupsPrinter &printer) {
    const bool a4 = printer.paper == "A4";
    const QString size = a4 ? "595 842" : "612 792";
    const QString area = a4 ? "18 18 577 824" : "18 18 594 774";
    const QString p = printer.paper;
    return QString(R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "DORVTEST.PPD"
*Manufacturer: "Dorv"
*Product: "(Test Laser)"
*ModelName: "Test Laser"
*ShortNickName: "Test Laser"
*NickName: "Test Laser"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*TTRasterizer: Type42
*cupsFilter: "application/vnd.cups-pdf 0 -"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: %1
*PageSize %1/%1: "<</PageSize[%2]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: %1
*PageRegion %1/%1: "<</PageSize[%2]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: %1
*ImageableArea %1/%1: "%3"
*DefaultPaperDimension: %1
*PaperDimension %1/%1: "%2"
*DefaultFont: Courier
*Font Courier: Standard "(002.004S)" Standard ROM
)ppd")
        .arg(p, size, area);
}

}  // namespace

CupsSandbox &CupsSandbox::Get() {
    static CupsSandbox sandbox;
    return sandbox;
}

QString CupsSandbox::Socket() const { return root_.filePath("cups.sock"); }

CupsSandbox::CupsSandbox() {
    if (::geteuid() != 0) {
        problem_ = "the scheduler of the tests runs as root only";
        return;
    }
    if (!root_.isValid()) {
        problem_ = "no temporary folder";
        return;
    }
    // The daemon's filters run as "lp": it must reach the folders.
    QFile::setPermissions(root_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                            QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                            QFileDevice::ExeOther);
    const QDir root(root_.path());
    for (const char *dir : {"etc/ppd", "spool", "tmp", "cache", "state", "log"}) root.mkpath(dir);
    const QString etc = root.filePath("etc");
    // Only this program talks to it: no authentication, no browsing.
    const QString conf = QString(R"(LogLevel warn
Listen %1
Browsing No
WebInterface No
DefaultAuthType None
PreserveJobFiles Yes
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
DefaultPolicy default
)")
                             .arg(Socket());
    const QString files =
        QString(R"(ServerRoot %1
RequestRoot %2
TempDir %3
CacheDir %4
StateDir %5
ErrorLog %6
AccessLog %7
PageLog %7
FileDevice Yes
SystemGroup root
)")
            .arg(etc, root.filePath("spool"), root.filePath("tmp"), root.filePath("cache"), root.filePath("state"),
                 root.filePath("log/error_log"), root.filePath("log/access_log"));
    QString printers;
    for (const CupsPrinter &p : {kWideMargins, kLetterOnly}) {
        Write(QDir(etc).filePath("ppd/" + p.name + ".ppd"), Ppd(p));
        printers += QString("<%1 %2>\nInfo %2\nDeviceURI file:///dev/null\nState Idle\nAccepting Yes\n</%1>\n")
                        .arg(p.name == kWideMargins.name ? "DefaultPrinter" : "Printer", p.name);
    }
    if (!Write(QDir(etc).filePath("cupsd.conf"), conf) || !Write(QDir(etc).filePath("cups-files.conf"), files) ||
        !Write(QDir(etc).filePath("printers.conf"), printers)) {
        problem_ = "the configuration could not be written";
        return;
    }

    const QByteArray cupsd = "/usr/sbin/cupsd";
    const QByteArray confPath = QDir(etc).filePath("cupsd.conf").toLocal8Bit();
    const QByteArray filesPath = QDir(etc).filePath("cups-files.conf").toLocal8Bit();
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) {
        // The scheduler goes with the test program, however that ends.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) ::_exit(1);
        ::execl(cupsd.constData(), "cupsd", "-f", "-c", confPath.constData(), "-s", filesPath.constData(),
                static_cast<char *>(nullptr));
        ::_exit(127);
    }
    if (pid_ < 0) {
        problem_ = "cupsd could not be started";
        return;
    }
    qputenv("CUPS_SERVER", Socket().toLocal8Bit());
    qunsetenv("LPDEST");
    qunsetenv("PRINTER");
    for (int waited = 0;; waited += 100) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            problem_ = "cupsd ended at once: " + QString::fromLocal8Bit(QFile(root.filePath("log/error_log")).exists()
                                                                            ? QByteArray("see its error_log")
                                                                            : QByteArray("is it installed?"));
            return;
        }
        if (QFileInfo::exists(Socket()) && Run("/usr/bin/lpstat", {"-r"})) break;
        if (waited >= kStartMs) {
            problem_ = "cupsd did not answer";
            return;
        }
        QThread::msleep(100);
    }
}

CupsSandbox::~CupsSandbox() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    for (int waited = 0; waited < 5000; waited += 50) {
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) return;
        QThread::msleep(50);
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
}

bool CupsSandbox::Run(const QString &program, const QStringList &arguments) const {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, QStringList{"-h", Socket()} + arguments);
    if (!process.waitForFinished(kCommandMs)) {
        process.kill();
        process.waitForFinished(kCommandMs);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool CupsSandbox::Enable(const QString &printer, bool enable) {
    return Run(enable ? "/usr/sbin/cupsenable" : "/usr/sbin/cupsdisable", {printer});
}

bool CupsSandbox::Add(const CupsPrinter &printer) {
    // The scheduler deletes a removed printer's PPD: each addition brings
    // its own.
    const QString ppd = root_.filePath(printer.name + "-added.ppd");
    return Write(ppd, Ppd(printer)) &&
           Run("/usr/sbin/lpadmin", {"-p", printer.name, "-v", "file:///dev/null", "-P", ppd, "-E"});
}

bool CupsSandbox::Remove(const QString &printer) { return Run("/usr/sbin/lpadmin", {"-x", printer}); }

bool CupsSandbox::MakeDefault(const QString &printer) { return Run("/usr/sbin/lpadmin", {"-d", printer}); }

bool CupsSandbox::Accept(const QString &printer, bool accept) {
    return Run(accept ? "/usr/sbin/cupsaccept" : "/usr/sbin/cupsreject", {printer});
}

QStringList CupsSandbox::Documents() const {
    const QDir spool(root_.filePath("spool"));
    QStringList paths;
    for (const QString &name : spool.entryList({"d*"}, QDir::Files, QDir::Name)) paths << spool.filePath(name);
    return paths;
}

}  // namespace dorv::testing
