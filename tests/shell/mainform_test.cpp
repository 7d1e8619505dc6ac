#include "manualfixture.h"

#include "busy.h"
#include "controlpopupwindow.h"
#include "formoptions.h"
#include "frameviewer.h"
#include "htmlframe.h"
#include "popupwindow.h"
#include "textmsg.h"
#include "treeviews.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>

namespace carmanual::test {
namespace {

// Each test has a title of its own: titles are what the single-instance
// lock is taken on.
std::string UniqueTitle() {
    static std::atomic<int> n{0};
    return "Тестовое руководство " + std::to_string(++n) + " " +
           std::to_string(QCoreApplication::applicationPid());
}

QColor PixelAt(TMainForm& form, QPoint p) {
    return form.grab().toImage().pixelColor(p);
}

bool WaitForColor(TMainForm& form, QPoint p, const QColor& c) {
    return QTest::qWaitFor([&] { return PixelAt(form, p) == c; }, 3000);
}

class MainFormTest : public ::testing::Test {
protected:
    ManualFixture manual{UniqueTitle()};
    std::unique_ptr<TMainForm> form;

    void Start() {
        form = manual.NewForm();
        ASSERT_EQ(form->FormCreate({}), TMainForm::TCreateResult::Shown);
        // Let the opening animation finish.
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form->IsAnimating(); }, 5000));
    }
    void Click(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        form->FormMouseMove(p);
        form->FormMouseDown(Qt::LeftButton, mods, p);
        form->FormMouseUp(p);
    }
    std::vector<QString> ShellTargets() const {
        std::vector<QString> names;
        for (const auto& c : manual.shell.calls)
            names.push_back(QFileInfo(c.target).fileName());
        return names;
    }
};

TEST_F(MainFormTest, StartUp_BuildsTheWindowFromTheDescription) {
    Start();
    // The last non-empty line of Title.txt names the window.
    EXPECT_EQ(form->Title(), Utf8ToAnsi(manual.title));
    EXPECT_EQ(form->windowTitle().toStdString(), manual.title);
    EXPECT_EQ(form->size(), QSize(200, 150));
    EXPECT_EQ(form->CurrentScreen(), 0);
    EXPECT_EQ(PixelAt(*form, {5, 5}), kBackground1);
    // Idle pictures are part of the background.
    EXPECT_EQ(PixelAt(*form, {20, 15}), kUp);
    EXPECT_EQ(PixelAt(*form, {20, 55}), kSwOff);
    EXPECT_EQ(PixelAt(*form, {70, 55}), kSwOn); // the group member described on
    // The start-up ran the commands of the switches: the switch is off, the member on.
    EXPECT_EQ(ShellTargets(), (std::vector<QString>{"off.sh", "a.sh"}));
}

TEST_F(MainFormTest, StartUp_FirstFrameFirst_ThenWhatTheFirstScreenDoesNotShow) {
    form = manual.NewForm();
    ASSERT_EQ(form->FormCreate({}), TMainForm::TCreateResult::Shown);
    // Shown with its pictures and text fields; nothing else is built yet and
    // no switch command has run.
    EXPECT_FALSE(form->StartupFinished());
    EXPECT_EQ(form->Options(), nullptr);
    EXPECT_EQ(form->HtmlFrame(), nullptr);
    EXPECT_NE(form->TextMsg(), nullptr);
    EXPECT_TRUE(manual.shell.calls.empty());
    // The first paint brings the rest, in the usual order.
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->StartupFinished(); }, 5000));
    EXPECT_NE(form->Options(), nullptr);
    EXPECT_NE(form->HtmlFrame(), nullptr);
    EXPECT_EQ(ShellTargets(), (std::vector<QString>{"off.sh", "a.sh"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->IsAnimating(); }, 5000));
    EXPECT_EQ(PixelAt(*form, {20, 15}), kUp);
    EXPECT_EQ(PixelAt(*form, {70, 55}), kSwOn);
}

TEST_F(MainFormTest, StartUp_InputBeforeTheFirstFrame_CompletesStartUpFirst) {
    form = manual.NewForm();
    ASSERT_EQ(form->FormCreate({}), TMainForm::TCreateResult::Shown);
    ASSERT_FALSE(form->StartupFinished());
    // Hover needs only the element's own pictures.
    form->FormMouseMove({20, 15});
    EXPECT_TRUE(WaitForColor(*form, {20, 15}, kMove));
    // A click on the switch: the start-up's switch commands run before its own.
    Click({20, 55});
    EXPECT_TRUE(form->StartupFinished());
    EXPECT_EQ(ShellTargets(), (std::vector<QString>{"off.sh", "a.sh", "on.sh"}));
    EXPECT_NE(form->HtmlFrame(), nullptr);
}

TEST_F(MainFormTest, StartUp_APanelOnTheFirstScreen_IsThereWithTheFirstFrame) {
    // The first frame shows the first screen's panels; what that screen does
    // not show follows the frame. A switch's start-up command may change
    // what a panel shows, so beside switches the frame waits for everything.
    const char* const page = "1 _html vx=50 vy=40 vw=140 vh=100 fn=p1.htm; number=1";
    const struct {
        std::vector<std::string> lines;
        const char* document = nullptr; // the page shown with the first frame
        bool pathBox = false;
        bool everythingFirst = false;
    } cases[] = {
        {.lines = {page}, .document = "c:\\p1.htm"},
        {.lines = {"1 _path vx=50 vy=40 vw=140 vh=60 pathdef=c:\\Файлы\\; hint=Папка"},
         .pathBox = true},
        {.lines = {page, "1 switchone vx=10 vy=50 fn1=s1.bmp;fn2=s2.bmp;fn3=s3.bmp;fn4=s4.bmp;"
                         "state=on;store=off;goup=run=off.sh;godown=html1=p2.htm;hint=Ключ;wav=no"},
         .document = "c:\\p2.htm",
         .everythingFirst = true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.back());
        ManualFixture own(UniqueTitle());
        std::vector<std::string> lines{
            "1 button vx=10 vy=10 fn1=up.bmp;fn2=mv.bmp;fn3=dn.bmp;go=2;hint=Дальше;wav=no"};
        lines.insert(lines.end(), c.lines.begin(), c.lines.end());
        lines.insert(lines.end(), {"1 _screen=bg1.bmp", "2 _screen=bg2.bmp"});
        own.dir.Write("Struct.txt", Crlf(lines));
        auto f = own.NewForm();
        ASSERT_EQ(f->FormCreate({}), TMainForm::TCreateResult::Shown);
        EXPECT_EQ(f->StartupFinished(), c.everythingFirst);
        if (c.document) {
            ASSERT_NE(f->HtmlFrame(), nullptr);
            TFrameViewer* viewer = f->HtmlFrame()->CurrentViewer();
            ASSERT_NE(viewer, nullptr);
            EXPECT_TRUE(viewer->isVisibleTo(f.get()));
            EXPECT_EQ(viewer->CurrentDocument(), c.document);
            // The page lies on the screen's background at its element's place.
            EXPECT_EQ(PixelAt(*f, {130, 90}), QColor(Qt::white));
            EXPECT_EQ(PixelAt(*f, {45, 90}), kBackground1);
        }
        if (c.pathBox) {
            EXPECT_NE(f->PathInputBox(), nullptr);
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return f->StartupFinished(); }, 5000));
        EXPECT_NE(f->Options(), nullptr);
        f->FormDestroy();
    }
}

TEST_F(MainFormTest, CommandLine_ChoosesTheRunMode) {
    const struct {
        QStringList arguments;
        TMainForm::TRunMode mode;
        const char* caption;
    } cases[] = {
        {{"c:\\pics\\p.jpg"}, TMainForm::TRunMode::Help, "Увеличенная картинка"},
        {{"help.htm", "/h"}, TMainForm::TRunMode::Help, "Помощь"},
        {{"help.htm", "/H"}, TMainForm::TRunMode::Help, "Помощь"},
        {{"c:\\tez.htm", "/t"}, TMainForm::TRunMode::Thesaurus, "Тезаурус"},
        {{"/t", "x"}, TMainForm::TRunMode::Thesaurus, "Тезаурус"},
        {{"c:\\tez.htm", "/T"}, TMainForm::TRunMode::Thesaurus, "Тезаурус"},
        // Paths hold slashes on Linux: only a whole "/t" asks for the
        // thesaurus, only a whole "/h" for help.
        {{"word/tail"}, TMainForm::TRunMode::Help, "Увеличенная картинка"},
        {{"/tmp/p.htm"}, TMainForm::TRunMode::Help, "Увеличенная картинка"},
        {{"/home/h/p.jpg"}, TMainForm::TRunMode::Help, "Увеличенная картинка"},
        {{"/home/tanya/p.jpg", "/h"}, TMainForm::TRunMode::Help, "Помощь"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        auto f = manual.NewForm();
        EXPECT_EQ(f->FormCreate(c.arguments), TMainForm::TCreateResult::Shown);
        EXPECT_EQ(f->RunMode(), c.mode);
        EXPECT_EQ(f->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(f->StartedWithParameters(), !c.arguments.isEmpty());
        f->FormDestroy();
    }
    // Windows started with parameters neither read the description's
    // settings nor save switch states.
    EXPECT_EQ(manual.store->ValueCount(), 0u);
}

TEST_F(MainFormTest, Hover_ShowsTheMovePictureAfterTheFade_AndLeavingFadesBack) {
    Start();
    form->FormMouseMove({20, 15});
    EXPECT_TRUE(WaitForColor(*form, {20, 15}, kMove));
    form->FormMouseMove({150, 140});
    EXPECT_TRUE(WaitForColor(*form, {20, 15}, kUp));
}

TEST_F(MainFormTest, PressAndReleaseOnAButton_RunsItsCommand) {
    Start();
    Click({20, 15});
    EXPECT_EQ(form->CurrentScreen(), 1);
    EXPECT_EQ(PixelAt(*form, {5, 140}), kBackground2);
    // The click sound of a user's click.
    EXPECT_EQ(manual.sound.played, (std::vector<std::string>{"c:\\click.wav"}));
    Click({20, 15}); // screen 2's button goes back
    EXPECT_EQ(form->CurrentScreen(), 0);
}

TEST_F(MainFormTest, PressLeaveAndReleaseElsewhere_RunsNothing) {
    Start();
    form->FormMouseMove({20, 15});
    form->FormMouseDown(Qt::LeftButton, Qt::NoModifier, {20, 15});
    form->FormMouseMove({150, 140});
    form->FormMouseUp({150, 140});
    EXPECT_EQ(form->CurrentScreen(), 0);
    EXPECT_TRUE(WaitForColor(*form, {20, 15}, kUp));
    // Coming back and releasing without a new press runs nothing either.
    form->FormMouseMove({20, 15});
    form->FormMouseUp({20, 15});
    EXPECT_EQ(form->CurrentScreen(), 0);
}

TEST_F(MainFormTest, BorderPixels_DoNotHit) {
    Start();
    // The button covers 10..40 x 10..30; its edges are outside.
    for (const QPoint p : {QPoint(10, 15), QPoint(40, 15), QPoint(20, 10), QPoint(20, 30)}) {
        Click(p);
        EXPECT_EQ(form->CurrentScreen(), 0) << p.x() << "," << p.y();
    }
    Click({11, 11});
    EXPECT_EQ(form->CurrentScreen(), 1);
}

TEST_F(MainFormTest, Keys_OnlyTheChapterKeysAreTakenFromTheFocusedControl) {
    Start();
    form->RunCommand("2", "", TCallOrigin::Program, TElementKind::None, -1);
    ASSERT_EQ(form->CurrentScreen(), 1);
    std::vector<std::string> topics;
    form->OnHelpTopic = [&](const std::string& t) { topics.push_back(t); };
    const struct {
        int key;
        Qt::KeyboardModifiers mods;
        bool taken;
    } cases[] = {
        {Qt::Key_Up, Qt::ShiftModifier, true},   {Qt::Key_Down, Qt::ShiftModifier, true},
        {Qt::Key_A, Qt::ControlModifier, false}, {Qt::Key_Z, Qt::ShiftModifier, false},
        {Qt::Key_Escape, Qt::NoModifier, false}, {Qt::Key_F1, Qt::ControlModifier, false},
        {Qt::Key_Up, Qt::NoModifier, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(form->FormKeyDown(c.key, c.mods), c.taken);
    }
    // F1 shows the topic whatever the modifiers.
    EXPECT_EQ(topics, (std::vector<std::string>{"Topic13"}));
}

TEST_F(MainFormTest, ShiftZ_ClicksTheSwitchesThatShowTheTree_ShiftCtrlZThoseThatHideIt) {
    manual.dir.Write(
        "Struct.txt",
        Crlf({"1 button vx=10 vy=10 fn1=up.bmp;fn2=mv.bmp;fn3=dn.bmp;go=2;hint=Дальше;wav=no",
              "1 _screen=bg1.bmp",
              "2 switchone vx=10 vy=50 "
              "fn1=s1.bmp;fn2=s2.bmp;fn3=s3.bmp;fn4=s4.bmp;state=off;store=off;"
              "goup=run=x.sh;godown=Tree1;hint=Дерево;wav=no",
              "2 switchone vx=60 vy=50 "
              "fn1=s1.bmp;fn2=s2.bmp;fn3=s3.bmp;fn4=s4.bmp;state=off;store=off;"
              "goup=run=y.sh;godown=OFFTREE;hint=Без дерева;wav=no",
              "2 switchone vx=110 vy=50 "
              "fn1=s1.bmp;fn2=s2.bmp;fn3=s3.bmp;fn4=s4.bmp;state=off;store=off;"
              "goup=run=z.sh;godown=run=w.sh;hint=Другой;wav=no",
              "2 _html vx=10 vy=80 vw=190 vh=140 fn=p1.htm; number=1", "2 _screen=bg2.bmp"}));
    Start();
    form->RunCommand("2", "", TCallOrigin::Program, TElementKind::None, -1);
    ASSERT_EQ(form->CurrentScreen(), 1);
    auto states = [&] {
        const TSwitchStates& on = form->SwitchStates();
        return std::vector<bool>{on.SwitchOn(1, 0), on.SwitchOn(1, 1), on.SwitchOn(1, 2)};
    };
    form->FormKeyDown(Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_EQ(states(), (std::vector<bool>{true, false, false}));
    form->FormKeyDown(Qt::Key_Z, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(states(), (std::vector<bool>{true, true, false}));
    // A second Shift+Z clicks the switch again: it turns off and runs its goup.
    manual.shell.calls.clear();
    form->FormKeyDown(Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_EQ(states(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(ShellTargets(), (std::vector<QString>{"x.sh"}));
}

TEST_F(MainFormTest, ScreenChange_RunsTheNewScreensSwitchAndGroupCommands) {
    manual.dir.Write(
        "Struct.txt",
        Crlf({"1 button vx=10 vy=10 fn1=up.bmp;fn2=mv.bmp;fn3=dn.bmp;go=2;hint=Дальше;wav=no",
              "1 _screen=bg1.bmp",
              "2 switchone vx=10 vy=50 "
              "fn1=s1.bmp;fn2=s2.bmp;fn3=s3.bmp;fn4=s4.bmp;state=on;store=off;"
              "goup=run=off.sh;godown=run=on.sh;hint=Ключ;wav=no",
              "2 switchgrp vx=60 vy=50 "
              "fn1=s1.bmp;fn2=s2.bmp;fn3=s3.bmp;fn4=s4.bmp;state=on;store=off;"
              "group=1;go=run=a.sh;hint=А;wav=no",
              "2 _screen=bg2.bmp"}));
    Start();
    manual.shell.calls.clear();
    form->RunCommand("2", "", TCallOrigin::Program, TElementKind::None, -1);
    EXPECT_EQ(form->CurrentScreen(), 1);
    // The switches twice, then the group member that is on.
    EXPECT_EQ(ShellTargets(), (std::vector<QString>{"on.sh", "on.sh", "a.sh"}));
    EXPECT_FALSE(IsBusy());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainFormTest, PressDeliveredByTheProgram_LeavesTheSwitchInItsPlainPicture) {
    Start();
    // No mouse move before: the press of a history step.
    form->FormMouseDown(Qt::LeftButton, Qt::NoModifier, {20, 55});
    EXPECT_TRUE(form->SwitchStates().SwitchOn(0, 0));
    EXPECT_TRUE(WaitForColor(*form, {20, 55}, kSwOn));
}

TEST_F(MainFormTest, OptionsFontButton_OpensThePageFontDialog) {
    Start();
    ASSERT_NE(form->Options(), nullptr);
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            shown = QString::fromLatin1(modal->metaObject()->className());
            modal->close();
        }
    });
    form->Options()->Button1Click();
    EXPECT_EQ(shown, QStringLiteral("carmanual::TFontForm"));
}

TEST_F(MainFormTest, SwitchClick_TogglesAndRunsItsCommands_ShiftClickOnlyToggles) {
    Start();
    manual.shell.calls.clear();
    Click({20, 55});
    EXPECT_EQ(ShellTargets(), (std::vector<QString>{"on.sh"}));
    EXPECT_TRUE(form->SwitchStates().SwitchOn(0, 0));
    Click({20, 55});
    EXPECT_EQ(ShellTargets(), (std::vector<QString>{"on.sh", "off.sh"}));
    EXPECT_FALSE(form->SwitchStates().SwitchOn(0, 0));

    manual.shell.calls.clear();
    Click({20, 55}, Qt::ShiftModifier);
    EXPECT_TRUE(form->SwitchStates().SwitchOn(0, 0));
    EXPECT_TRUE(manual.shell.calls.empty());
    // Off the switch the picture settles on "on".
    form->FormMouseMove({150, 140});
    EXPECT_TRUE(WaitForColor(*form, {20, 55}, kSwOn));
}

TEST_F(MainFormTest, GroupMemberAlreadyOn_DoesNothing_AnotherMemberTakesOver) {
    Start();
    manual.shell.calls.clear();
    Click({70, 55});
    EXPECT_TRUE(manual.shell.calls.empty());
    Click({110, 55});
    EXPECT_EQ(ShellTargets(), (std::vector<QString>{"b.sh"}));
    EXPECT_FALSE(form->SwitchStates().GroupOn(0, 0));
    EXPECT_TRUE(form->SwitchStates().GroupOn(0, 1));
    form->FormMouseMove({150, 140});
    EXPECT_TRUE(WaitForColor(*form, {110, 55}, kSwOn));
    EXPECT_EQ(PixelAt(*form, {70, 55}), kSwOff);
}

TEST_F(MainFormTest, StoredSwitchStates_SurviveARestart) {
    Start();
    Click({20, 55});  // switch on
    Click({110, 55}); // second member on
    form->FormDestroy();
    form.reset();
    EXPECT_EQ(manual.store->ReadBool("SwOne00"), true);
    EXPECT_EQ(manual.store->ReadBool("SwGrp00"), false);
    EXPECT_EQ(manual.store->ReadBool("SwGrp01"), true);

    manual.shell.calls.clear();
    Start();
    EXPECT_TRUE(form->SwitchStates().SwitchOn(0, 0));
    EXPECT_FALSE(form->SwitchStates().GroupOn(0, 0));
    EXPECT_TRUE(form->SwitchStates().GroupOn(0, 1));
    // The restored states' commands run at start-up.
    EXPECT_EQ(ShellTargets(), (std::vector<QString>{"on.sh", "b.sh"}));
}

TEST_F(MainFormTest, SecondStartWithTheSameTitle_EndsAtOnce) {
    Start();
    const std::size_t changes = manual.store->ChangeCount();
    auto second = manual.NewForm();
    EXPECT_EQ(second->FormCreate({}), TMainForm::TCreateResult::AlreadyRunning);
    EXPECT_TRUE(second->AlreadyRunning());
    EXPECT_FALSE(second->isVisible());
    second->FormDestroy();
    // The second instance neither reads settings nor saves switch states.
    EXPECT_EQ(manual.store->ChangeCount(), changes);
    // Once the first has ended, the title is free again.
    form->FormDestroy();
    form.reset();
    auto third = manual.NewForm();
    EXPECT_EQ(third->FormCreate({}), TMainForm::TCreateResult::Shown);
}

TEST_F(MainFormTest, WhileBusy_CommandsAreIgnored) {
    Start();
    SetBusyCursor(true);
    form->RunCommand("2", "click.wav", TCallOrigin::User, TElementKind::Button, 0);
    SetBusyCursor(false);
    EXPECT_EQ(form->CurrentScreen(), 0);
    EXPECT_TRUE(manual.sound.played.empty());
    form->RunCommand("2", "", TCallOrigin::Program, TElementKind::None, -1);
    EXPECT_EQ(form->CurrentScreen(), 1);
}

TEST_F(MainFormTest, ButtonSound_OnlyForUserClicksWithTheWavSettingOn) {
    Start();
    form->RunCommand("1", "click.wav", TCallOrigin::Program, TElementKind::Button, 0);
    EXPECT_TRUE(manual.sound.played.empty());
    form->RunCommand("1", "no", TCallOrigin::User, TElementKind::Button, 0);
    EXPECT_TRUE(manual.sound.played.empty());
    form->FormDestroy();
    form.reset();

    manual.store->WriteBool("Wav", false);
    Start();
    Click({20, 15});
    EXPECT_EQ(form->CurrentScreen(), 1);
    EXPECT_TRUE(manual.sound.played.empty());
}

TEST_F(MainFormTest, RunCommand_StartsTheProgramInItsFolderWithItsParameter) {
    Start();
    manual.dir.Write("tools/viewer.sh", "#!/bin/sh\n");
    manual.dir.Write("docs/a.txt", "x");
    manual.shell.calls.clear();
    form->RunCommand("run=c:\\tools\\viewer.sh=c:\\docs\\a.txt", "", TCallOrigin::Program,
                     TElementKind::Button, 0);
    ASSERT_EQ(manual.shell.calls.size(), 1u);
    const auto& call = manual.shell.calls[0];
    EXPECT_EQ(QFileInfo(call.target).canonicalFilePath(),
              QFileInfo(QString::fromStdString((manual.dir.Path() / "tools/viewer.sh").string()))
                  .canonicalFilePath());
    ASSERT_EQ(call.parameters.size(), 1);
    EXPECT_TRUE(call.parameters[0].endsWith("docs/a.txt"));
    EXPECT_TRUE(call.workingDir.endsWith("tools"));
}

TEST_F(MainFormTest, ScreenCommands_OutsideTheDescribedScreensDoNothing) {
    Start();
    for (const char* command : {"7", "screen9", "screen0=x.htm", "0", "-3"}) {
        form->RunCommand(command, "", TCallOrigin::Program, TElementKind::None, -1);
        EXPECT_EQ(form->CurrentScreen(), 0) << command;
    }
    form->RunCommand("screen2=page.htm", "", TCallOrigin::Program, TElementKind::None, -1);
    EXPECT_EQ(form->CurrentScreen(), 1);
}

TEST_F(MainFormTest, ExitButton_ClosesWithTheAnimationAndPlaysItsSoundAtTheEnd) {
    Start();
    Click({20, 105});
    EXPECT_EQ(form->ExitButton(), 1);
    // The sound waits for the window's destruction.
    EXPECT_TRUE(manual.sound.played.empty());
    EXPECT_TRUE(form->IsAnimating());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, 5000));
    form->FormDestroy();
    EXPECT_EQ(manual.sound.playedSync, (std::vector<std::string>{"c:\\click.wav"}));
}

TEST_F(MainFormTest, Pages_HtmlCommandHistoryAndFavourites) {
    Start();
    ASSERT_NE(form->HtmlFrame(), nullptr);
    form->RunCommand("2", "", TCallOrigin::Program, TElementKind::None, -1);
    TFrameViewer* viewer = form->HtmlFrame()->CurrentViewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->CurrentDocument(), "c:\\p1.htm");
    form->RunCommand("html1=c:\\p2.htm", "", TCallOrigin::Program, TElementKind::None, -1);
    EXPECT_EQ(viewer->CurrentDocument(), "c:\\p2.htm");
    // The page title goes to text field 1, with its two trailing spaces.
    EXPECT_EQ(form->TextMsg()->FieldText(0), QString::fromUtf8("Колодки  "));

    form->RunCommand("back", "", TCallOrigin::Program, TElementKind::None, -1);
    EXPECT_EQ(viewer->CurrentDocument(), "c:\\p1.htm");
    form->RunCommand("forward", "", TCallOrigin::Program, TElementKind::None, -1);
    EXPECT_EQ(viewer->CurrentDocument(), "c:\\p2.htm");
    // At the newest entry a step forward changes nothing.
    form->RunCommand("forward", "", TCallOrigin::Program, TElementKind::None, -1);
    EXPECT_EQ(viewer->CurrentDocument(), "c:\\p2.htm");
    // A history popup item jumps to its entry.
    form->RunCommand("history=1", "", TCallOrigin::Program, TElementKind::None, -1);
    EXPECT_EQ(viewer->CurrentDocument(), "c:\\p1.htm");
    EXPECT_EQ(form->CurrentScreen(), 1);

    form->RunCommand("addtofavorite", "", TCallOrigin::Program, TElementKind::None, -1);
    ASSERT_NE(form->Favorites(), nullptr);
    ASSERT_EQ(form->Favorites()->Count(), 1);
    EXPECT_EQ(form->Favorites()->Entries()[0].Caption, Utf8ToAnsi("Тормоза"));
    form->RunCommand("html1=c:\\p2.htm", "", TCallOrigin::Program, TElementKind::None, -1);
    // A favourite's command opens its page again.
    const std::string command = form->Favorites()->Entries()[0].Command;
    form->RunCommand(command, "", TCallOrigin::Program, TElementKind::None, -1);
    EXPECT_EQ(viewer->CurrentDocument(), "c:\\p1.htm");
    form->FormDestroy();
    EXPECT_TRUE(manual.store->ReadString("Favorite0").has_value());
}

// A popup list of one type on a screen, as the description gives it.
std::vector<std::string> PopupLines(const std::string& screen, const std::string& type,
                                    const std::string& go = "options") {
    return {
        screen + " _popup xfon=-1 yfon=-1 fnfon=bg1.bmp; xbtn=-1 ybtn=-1",
        "fnbtnup=[up.bmp]",
        "fnbtnmove=[mv.bmp]",
        "fnbtndown=[dn.bmp]",
        "fontup=dejavu sans; sizeup=8 styleup=regular; colorup=0,0,0",
        "fontmv=dejavu sans; sizemv=8 stylemv=bold; colormv=255,0,0",
        "caption=[Параметры]",
        "go=[" + go + "]",
        "parent=main; type=" + type,
        "vertex=[]",
    };
}

// The first screen's lists have no favourites list; a bookmark made on the
// document screen used to be stored over by an empty copy at exit.
TEST_F(MainFormTest, Favourites_BookmarkOnOneScreenExitFromAnother_IsThereAtTheNextStart) {
    manual.AddStructLines(PopupLines("1", "1"));
    manual.AddStructLines(PopupLines("2", "favorite"));
    const struct {
        const char* scenario;
        std::function<void(TMainForm&)> end;
    } endings[] = {
        {"the exit command",
         [](TMainForm& f) {
             f.RunCommand("exit", "", TCallOrigin::Program, TElementKind::None, -1);
         }},
        {"the window's close", [](TMainForm& f) { f.close(); }},
    };
    for (const auto& ending : endings) {
        SCOPED_TRACE(ending.scenario);
        manual.store->DeleteValue("Favorite0");
        Start();
        form->RunCommand("2", "", TCallOrigin::Program, TElementKind::None, -1);
        form->RunCommand("addtofavorite", "", TCallOrigin::Program, TElementKind::None, -1);
        ASSERT_EQ(form->Favorites()->Count(), 1);
        form->RunCommand("1", "", TCallOrigin::Program, TElementKind::None, -1);
        ending.end(*form);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, 5000));
        form->FormDestroy();
        form.reset();
        EXPECT_EQ(manual.store->ReadString("Favorite0"),
                  std::optional<std::string>(Utf8ToAnsi("{Тормоза}htmlpos=c:\\p1.htm=0")));

        Start();
        ASSERT_EQ(form->Favorites()->Count(), 1);
        form->RunCommand("2", "", TCallOrigin::Program, TElementKind::None, -1);
        ASSERT_NE(form->Popups(), nullptr);
        const TPopupWindow* list = form->Popups()->PopupOfType(popuptype::Favorite);
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->ItemCount(), 1);
        EXPECT_EQ(list->Item(0).Command(), "htmlpos=c:\\p1.htm=0");
        form->FormDestroy();
        form.reset();
    }
}

TEST_F(MainFormTest, Pages_RightClick_OpensThePageMenuAndRunsItsEntry) {
    manual.AddStructLines(PopupLines("2", "contexthtml", "addtofavorite"));
    Start();
    form->RunCommand("2", "", TCallOrigin::Program, TElementKind::None, -1);
    TFrameViewer* viewer = form->HtmlFrame()->CurrentViewer();
    ASSERT_NE(viewer, nullptr);
    auto* browser = viewer->ActiveDocument()->findChild<QAbstractScrollArea*>();
    ASSERT_NE(browser, nullptr);
    QWidget* page = browser->viewport();
    ASSERT_TRUE(page->isVisible());

    // With Ctrl held the right button opens nothing.
    QTest::mouseClick(page, Qt::RightButton, Qt::ControlModifier, QPoint(20, 20));
    TPopupWindow* menu = form->Popups()->PopupOfType(popuptype::ContextHtml);
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->isVisible());
    QTest::mouseClick(page, Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 3000));

    ASSERT_TRUE(QTest::qWaitFor([&] { return !menu->Sliding(); }, 3000));
    const QPoint entry = menu->Item(0).Rect().center();
    QTest::mouseMove(menu, entry);
    QTest::mousePress(menu, Qt::LeftButton, Qt::NoModifier, entry);
    QTest::mouseRelease(menu, Qt::LeftButton, Qt::NoModifier, entry);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->Favorites()->Count() == 1; }, 3000));
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(form->Favorites()->Entries()[0].Caption, Utf8ToAnsi("Тормоза"));
}

// Chapter switches of the document screen: a group of two, each opening the
// first page of its chapter.
class ChapterTest : public MainFormTest {
protected:
    void SetUp() override {
        manual.dir.Write("p3.htm",
                         Utf8ToAnsi("<html><head><meta charset=\"windows-1251\">"
                                    "<title>Суппорт</title></head><body>x</body></html>"));
        manual.AddStructLines({
            "2 switchgrp vx=10 vy=40 fn1=s1.bmp;fn2=s2.bmp;fn3=s3.bmp;fn4=s4.bmp;state=on;"
            "store=off;group=1;go=html1=p1.htm;hint=Тормоза;wav=no",
            "2 switchgrp vx=10 vy=70 fn1=s1.bmp;fn2=s2.bmp;fn3=s3.bmp;fn4=s4.bmp;state=off;"
            "store=off;group=1;go=html1=p3.htm;hint=Суппорт;wav=no",
        });
    }
    // The chapter member that is on: 0, 1, or -1 for none.
    int ChapterOn() const {
        const auto& groups = form->Description().Groups[1];
        for (std::size_t i = 0; i < groups.size(); ++i)
            if (form->SwitchStates().GroupOn(1, static_cast<int>(i)))
                return static_cast<int>(i);
        return -1;
    }
};

TEST_F(ChapterTest, HistorySteps_ShowTheEntrySteppedTo_AndTheChapterSwitchFollows) {
    // Each sequence starts on the document screen with chapter 1 open at
    // p1, follows the link to p2 (the same chapter) and opens chapter 2 (p3).
    const struct {
        const char* scenario;
        std::vector<std::string> steps;
        const char* page;
        int chapter;
    } cases[] = {
        {"back into the first chapter", {"back"}, "c:\\p2.htm", 0},
        {"back twice", {"back", "back"}, "c:\\p1.htm", 0},
        {"back and forward", {"back", "forward"}, "c:\\p3.htm", 1},
        {"back twice and forward", {"back", "back", "forward"}, "c:\\p2.htm", 0},
        {"an entry of the history list", {"history=1"}, "c:\\p2.htm", 0},
        {"back at the oldest entry", {"back", "back", "back"}, "c:\\p1.htm", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        Start();
        form->RunCommand("2", "", TCallOrigin::Program, TElementKind::None, -1);
        TFrameViewer* viewer = form->HtmlFrame()->CurrentViewer();
        ASSERT_NE(viewer, nullptr);
        ASSERT_EQ(viewer->CurrentDocument(), "c:\\p1.htm");
        ASSERT_EQ(ChapterOn(), 0);
        form->HtmlFrame()->OpenPage("c:\\p2.htm"); // the link in p1
        Click({20, 80});                           // chapter 2
        ASSERT_EQ(viewer->CurrentDocument(), "c:\\p3.htm");
        ASSERT_EQ(ChapterOn(), 1);
        for (const std::string& step : c.steps)
            form->RunCommand(step, "", TCallOrigin::Program, TElementKind::None, -1);
        EXPECT_EQ(viewer->CurrentDocument(), c.page);
        EXPECT_EQ(ChapterOn(), c.chapter);
        form->FormDestroy();
        form.reset();
    }
}

TEST_F(ChapterTest, ChapterButtons_NameTheNeighbouringChapters) {
    manual.dir.Write("contents.txt",
                     Crlf({"p1.htm;Тормоза", "\tp2.htm;Колодки", "p3.htm;Суппорт"}));
    manual.AddStructLines({
        "2 button vx=10 vy=100 fn1=up.bmp;fn2=mv.bmp;fn3=dn.bmp;go=nextchapter;"
        "hint=Следующий раздел;wav=no",
        "2 button vx=10 vy=125 fn1=up.bmp;fn2=mv.bmp;fn3=dn.bmp;go=prevchapter;"
        "hint=Предыдущий раздел;wav=no",
        "2 _tree vw=120 vh=140 colorselect=255,159,28; colorselecttext=24,26,30; fn=contents.txt",
    });
    Start();
    form->RunCommand("2", "", TCallOrigin::Program, TElementKind::None, -1);
    auto hint = [&](QPoint p) {
        QWidget* control = form->childAt(p);
        return control ? control->toolTip() : QString("(no control)");
    };
    const QPoint next(20, 110), prev(20, 135);
    EXPECT_EQ(hint(next), QString::fromUtf8("Тормоза : Колодки"));
    EXPECT_EQ(hint(prev), QString::fromUtf8("Первый раздел"));
    form->HtmlFrame()->OpenPage("c:\\p3.htm");
    EXPECT_EQ(hint(next), QString::fromUtf8("Последний раздел"));
    EXPECT_EQ(hint(prev), QString::fromUtf8("Тормоза : Колодки"));
    form->RunCommand("prevchapter", "", TCallOrigin::Program, TElementKind::None, -1);
    EXPECT_EQ(form->HtmlFrame()->CurrentViewer()->CurrentDocument(), "c:\\p2.htm");
    EXPECT_EQ(hint(next), QString::fromUtf8("Суппорт"));

    form->FormDestroy();
    form.reset();

    // Tool tips switched off in the options: none, whatever the chapter.
    manual.store->WriteBool("Hint", false);
    Start();
    form->RunCommand("2", "", TCallOrigin::Program, TElementKind::None, -1);
    form->RunCommand("nextchapter", "", TCallOrigin::Program, TElementKind::None, -1);
    EXPECT_EQ(hint(next), QString());
    EXPECT_EQ(hint(prev), QString());
}

// A first page that failed to load hides the page viewer; the contents
// still open their pages, and the viewer shows again.
TEST_F(MainFormTest, Contents_OpenThePage_WhenTheFirstPageFailedToLoad) {
    for (std::string& line : manual.structLines)
        if (line.find("_html") != std::string::npos)
            line = "2 _html vx=50 vy=40 vw=190 vh=140 fn=missing.htm; number=7";
    manual.dir.Write("contents.txt", Crlf({"p1.htm;Тормоза", "\tp2.htm;Колодки"}));
    manual.AddStructLines({"2 _tree vw=120 vh=140 colorselect=255,159,28; "
                           "colorselecttext=24,26,30; fn=contents.txt"});
    Start();
    form->RunCommand("2", "", TCallOrigin::Program, TElementKind::None, -1);
    TFrameViewer* viewer = form->HtmlFrame()->CurrentViewer();
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(viewer->isHidden());
    ASSERT_NE(form->MainTree(), nullptr);
    ASSERT_TRUE(form->MainTree()->FindCaption(QString::fromUtf8("Колодки")));
    EXPECT_FALSE(viewer->isHidden());
    EXPECT_EQ(viewer->CurrentDocument(), "c:\\p2.htm");
    ASSERT_TRUE(form->MainTree()->FindCaption(QString::fromUtf8("Тормоза")));
    EXPECT_EQ(viewer->CurrentDocument(), "c:\\p1.htm");
}

// The title screen has a page panel of its own (number 2); loading a page
// there while the document screen is shown must not touch what the document
// screen shows of its history.
TEST_F(MainFormTest, HiddenScreensViewerLoadsAPage_TheShownScreensHistoryStays) {
    const std::filesystem::path listing =
        ToNativePath(carmanual::TempDir() + "as_test_listing.htm");
    {
        std::ofstream out(listing, std::ios::binary);
        out << "<html><body>listing</body></html>";
    }
    manual.AddStructLines({"1 _html vx=150 vy=100 vw=190 vh=140 fn=p1.htm; number=2"});
    manual.AddStructLines(PopupLines("2", "historyback"));
    Start();
    form->RunCommand("2", "", TCallOrigin::Program, TElementKind::None, -1);
    form->RunCommand("html1=c:\\p2.htm", "", TCallOrigin::Program, TElementKind::None, -1);
    const TPopupWindow* back = form->Popups()->PopupOfType(popuptype::HistoryBack);
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->VisibleItemCount(), 1);
    EXPECT_EQ(back->Item(0).Command(), "history=1");

    const std::string listed = FromNativePath(listing);
    form->RunCommand("html2=" + listed, "", TCallOrigin::Program, TElementKind::None, -1);
    // Viewers follow the order in which their screens are first described.
    EXPECT_EQ(form->HtmlFrame()->Viewer(1)->CurrentDocument(), listed);
    EXPECT_EQ(back->VisibleItemCount(), 1);
    EXPECT_FALSE(form->HtmlFrame()->IsRarListing());
    EXPECT_EQ(form->TextMsg()->FieldText(0), QString::fromUtf8("Колодки  "));

    // On its own screen the listing is a listing, and the lists show that
    // viewer's history.
    form->RunCommand("1", "", TCallOrigin::Program, TElementKind::None, -1);
    EXPECT_TRUE(form->HtmlFrame()->IsRarListing());
    form->RunCommand("2", "", TCallOrigin::Program, TElementKind::None, -1);
    EXPECT_FALSE(form->HtmlFrame()->IsRarListing());
    EXPECT_EQ(form->Popups()->PopupOfType(popuptype::HistoryBack)->VisibleItemCount(), 1);
    std::filesystem::remove(listing);
}

TEST_F(MainFormTest, Keys_F1ShowsTheScreensTopic_EscKeepsTheWindow) {
    Start();
    std::vector<std::string> topics;
    form->OnHelpTopic = [&](const std::string& t) { topics.push_back(t); };
    form->FormKeyDown(Qt::Key_F1, Qt::NoModifier);
    form->RunCommand("2", "", TCallOrigin::Program, TElementKind::None, -1);
    form->FormKeyDown(Qt::Key_F1, Qt::NoModifier);
    form->RunCommand("1", "", TCallOrigin::Program, TElementKind::None, -1);
    EXPECT_EQ(topics, (std::vector<std::string>{"Topic12", "Topic13"}));
    form->FormKeyDown(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_TRUE(form->isVisible());
}

} // namespace
} // namespace carmanual::test
