// The program's entry point: opens the manual beside the program and shows
// its skinned window.

#include "application.h"

#include "archive.h"
#include "logging.h"
#include "mainform.h"
#include "paths.h"
#include "qtsettingsstore.h"
#include "quitsignals.h"
#include "shellopen.h"
#include "sound.h"
#include "windowdirectory.h"

#include <QDir>
#include <QMessageBox>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>

using namespace carmanual;

namespace {

const char* const kCaption = "Руководство по ремонту и эксплуатации автомобиля";

void ShowStartError(const QString& text) {
    std::cerr << "carmanual: " << text.toStdString() << '\n';
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kCaption), text, QMessageBox::Ok);
    box.exec();
}

// CARMANUAL_REPORT_FIRST_PAINT=1: once the main window's first frame is
// painted and handed to the display, print on standard error
//   first-paint <ms since main> ms clock_us=<steady clock in microseconds>
// and once start-up has built everything else
//   startup-complete <ms since main> ms clock_us=<...>
// The clock lets a launcher measure from the moment it started the process.
class TFirstPaintReporter final : public QObject {
public:
    explicit TFirstPaintReporter(std::chrono::steady_clock::time_point started)
        : m_started(started) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_reported) {
            m_reported = true;
            // The frame is flushed when the paint event is done: report after it.
            QTimer::singleShot(0, this, [this] { Report("first-paint"); });
        }
        return QObject::eventFilter(watched, event);
    }

    void Report(const char* what) const {
        const auto now = std::chrono::steady_clock::now();
        const std::chrono::duration<double, std::milli> ms = now - m_started;
        const auto us =
            std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch());
        std::fprintf(stderr, "%s %.1f ms clock_us=%lld\n", what, ms.count(),
                     static_cast<long long>(us.count()));
        std::fflush(stderr);
    }

private:
    std::chrono::steady_clock::time_point m_started;
    bool m_reported = false;
};

} // namespace

int main(int argc, char** argv) {
    const auto started = std::chrono::steady_clock::now();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    TApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Korrinel"));
    QApplication::setQuitOnLastWindowClosed(false);
    InstallQtPlatform();
    InstallCoreLogSink();
    QuitOnTerminationSignals();

    InitProgramPaths(QCoreApplication::applicationDirPath().toStdString());
    const QString folder = QString::fromStdString(ProgramFolder().string());

    // The manual: its archive beside the program. A manual kept as plain
    // files (a publisher's working copy) runs without one.
    try {
        OpenArchive(ProgramDir() + "interface.dat");
        SetArchiveRoot(ArchiveRootFor(ProgramDir()));
    } catch (const EArchiveDamaged& e) {
        std::cerr << "carmanual: the archive is damaged: " << e.Path() << '\n';
        ShowStartError(QStringLiteral("Файл интерфейса руководства повреждён:\n%1\n\n"
                                      "Скопируйте файл interface.dat с диска руководства заново "
                                      "или переустановите руководство.")
                           .arg(QString::fromStdString(e.Path())));
        return 3;
    } catch (const EFOpenError&) {
        if (!ArchiveFileExists(ProgramDir() + "Struct.txt")) {
            ShowStartError(QStringLiteral("Не найден файл интерфейса руководства interface.dat.\n\n"
                                          "Папка: %1\n\n"
                                          "Программа показывает руководство, файл interface.dat "
                                          "которого лежит рядом с ней. Запустите её с диска "
                                          "руководства или установите руководство заново.")
                               .arg(QDir::toNativeSeparators(folder)));
            return 2;
        }
    }

    TSoundPlayer sound;
    TDesktopShell shell;
    TMainServices services;
    services.Sound = &sound;
    services.Shell = &shell;
    services.OpenSettings = [](const std::string& title) -> std::unique_ptr<ISettingsStore> {
        return std::make_unique<TQtSettingsStore>(title);
    };

    auto* form = new TMainForm(services);
    TFirstPaintReporter firstPaint(started);
    if (qEnvironmentVariableIntValue("CARMANUAL_REPORT_FIRST_PAINT") != 0) {
        form->installEventFilter(&firstPaint);
        // Queued: the first-paint line, posted from the same frame, comes first.
        QObject::connect(
            form, &TMainForm::StartupCompleted, &firstPaint,
            [&firstPaint] { firstPaint.Report("startup-complete"); }, Qt::QueuedConnection);
    }
    // The sound player's module and the audio output are opened once the
    // window is complete, so the first click does not wait for them.
    QObject::connect(form, &TMainForm::StartupCompleted, &sound,
                     [&sound] { QTimer::singleShot(0, &sound, [&sound] { sound.Prepare(); }); });
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    int rc = 0;
    switch (form->FormCreate(arguments)) {
    case TMainForm::TCreateResult::Shown:
        if (form->RunMode() != TMainForm::TRunMode::Skinned)
            form->show(); // the help and thesaurus windows are built by their own modes
        rc = app.exec();
        break;
    case TMainForm::TCreateResult::AlreadyRunning:
        rc = 0;
        break;
    case TMainForm::TCreateResult::NoManual:
        ShowStartError(QStringLiteral("В файле интерфейса нет описания окна (Struct.txt).\n\n"
                                      "Папка: %1\n\nПереустановите руководство.")
                           .arg(QDir::toNativeSeparators(folder)));
        rc = 2;
        break;
    case TMainForm::TCreateResult::Terminate:
        rc = 0;
        break;
    }
    form->FormDestroy();
    delete form;
    return rc;
}
