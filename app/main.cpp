// The program's entry point: opens the manual beside the program and shows
// its skinned window.

#include "application.h"

#include "archive.h"
#include "mainform.h"
#include "paths.h"
#include "qtsettingsstore.h"
#include "shellopen.h"
#include "sound.h"
#include "windowdirectory.h"

#include <QDir>
#include <QMessageBox>

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

} // namespace

int main(int argc, char** argv) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    TApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Korrinel"));
    QApplication::setQuitOnLastWindowClosed(false);
    InstallQtPlatform();

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
