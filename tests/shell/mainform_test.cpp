#include "manualfixture.h"

#include "busy.h"
#include "formoptions.h"
#include "frameviewer.h"
#include "htmlframe.h"
#include "textmsg.h"

#include <QApplication>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>

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
    } cases[] = {
        {{"c:\\pics\\p.jpg"}, TMainForm::TRunMode::Help},
        {{"help.htm", "/h"}, TMainForm::TRunMode::Help},
        {{"c:\\tez.htm", "/t"}, TMainForm::TRunMode::Thesaurus},
        {{"/t", "x"}, TMainForm::TRunMode::Thesaurus},
        {{"word/tail"}, TMainForm::TRunMode::Thesaurus}, // "/t" anywhere in the line
    };
    for (const auto& c : cases) {
        auto f = manual.NewForm();
        EXPECT_EQ(f->FormCreate(c.arguments), TMainForm::TCreateResult::Shown);
        EXPECT_EQ(f->RunMode(), c.mode) << c.arguments.join(' ').toStdString();
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
              "2 switchone vx=10 vy=50 fn1=s1.bmp;fn2=s2.bmp;fn3=s3.bmp;fn4=s4.bmp;state=off;store=off;"
              "goup=run=x.sh;godown=Tree1;hint=Дерево;wav=no",
              "2 switchone vx=60 vy=50 fn1=s1.bmp;fn2=s2.bmp;fn3=s3.bmp;fn4=s4.bmp;state=off;store=off;"
              "goup=run=y.sh;godown=OFFTREE;hint=Без дерева;wav=no",
              "2 switchone vx=110 vy=50 fn1=s1.bmp;fn2=s2.bmp;fn3=s3.bmp;fn4=s4.bmp;state=off;store=off;"
              "goup=run=z.sh;godown=run=w.sh;hint=Другой;wav=no",
              "2 _html vx=10 vy=80 vw=190 vh=140 fn=p1.htm; number=1", "2 _screen=bg2.bmp"}));
    Start();
    form->RunCommand("2", "", TCallOrigin::Program, TElementKind::None, -1);
    ASSERT_EQ(form->CurrentScreen(), 1);
    const auto& switches = form->Description().Switches[1];
    auto states = [&] {
        return std::vector<bool>{switches[0].State, switches[1].State, switches[2].State};
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
              "2 switchone vx=10 vy=50 fn1=s1.bmp;fn2=s2.bmp;fn3=s3.bmp;fn4=s4.bmp;state=on;store=off;"
              "goup=run=off.sh;godown=run=on.sh;hint=Ключ;wav=no",
              "2 switchgrp vx=60 vy=50 fn1=s1.bmp;fn2=s2.bmp;fn3=s3.bmp;fn4=s4.bmp;state=on;store=off;"
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
    EXPECT_TRUE(form->Description().Switches[0][0].State);
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
    EXPECT_TRUE(form->Description().Switches[0][0].State);
    Click({20, 55});
    EXPECT_EQ(ShellTargets(), (std::vector<QString>{"on.sh", "off.sh"}));
    EXPECT_FALSE(form->Description().Switches[0][0].State);

    manual.shell.calls.clear();
    Click({20, 55}, Qt::ShiftModifier);
    EXPECT_TRUE(form->Description().Switches[0][0].State);
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
    EXPECT_FALSE(form->Description().Groups[0][0].State);
    EXPECT_TRUE(form->Description().Groups[0][1].State);
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
    EXPECT_TRUE(form->Description().Switches[0][0].State);
    EXPECT_FALSE(form->Description().Groups[0][0].State);
    EXPECT_TRUE(form->Description().Groups[0][1].State);
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
