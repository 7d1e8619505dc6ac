#include "pathinputbox.h"

#include "componentstest.h"
#include "settingnames.h"
#include "settingsstore.h"

#include <QAction>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

namespace carmanual {
namespace {

using test::Ansi;
namespace fs = std::filesystem;

RPathInput Box(std::int32_t screen, const std::string& pathDef, std::int32_t top = 40,
               const char* hint = "Папка для распаковки") {
    RPathInput r;
    r.Left = 100;
    r.Top = top;
    r.Right = 300;
    r.Bottom = top + 18;
    r.PathDef = pathDef;
    r.Screen = screen;
    r.Hint = Ansi(hint);
    return r;
}

QString Native(const fs::path& p) {
    return QString::fromStdString(p.string());
}

// Records the boxes becoming visible and hidden, in order.
class VisibilityLog final : public QObject {
public:
    explicit VisibilityLog(const TPathInputBox& boxes) {
        for (int i = 0; i < boxes.BoxCount(); ++i) {
            boxes.Edit(i)->installEventFilter(this);
            m_index[boxes.Edit(i)] = i;
        }
    }
    std::vector<std::string> Events;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            Events.push_back("show" + std::to_string(m_index[watched]));
        else if (event->type() == QEvent::Hide)
            Events.push_back("hide" + std::to_string(m_index[watched]));
        return false;
    }

private:
    std::map<QObject*, int> m_index;
};

class PathBoxes : public ::testing::Test {
protected:
    PathBoxes() { window.resize(400, 300); }

    std::unique_ptr<TPathInputBox> Make(const TDynamicPathInputArray& boxes, int screen = 0,
                                        TPathInputBox::TFolderChooser chooser = {}) {
        return std::make_unique<TPathInputBox>(boxes, &window, store, screen, std::move(chooser));
    }
    static void Type(QLineEdit* edit, const QString& text) {
        // Key by key, as the reader types; QTest::keyClicks knows no Cyrillic.
        edit->selectAll();
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(edit, &press);
        }
    }

    test::ManualFolder manual;
    QWidget window;
    TMemorySettingsStore store;
};

TEST_F(PathBoxes, FirstRun_ShowsTheDefaultPaths) {
    auto boxes = Make({Box(0, "c:\\install\\"), Box(1, "z:\\tmp\\unpack")});
    ASSERT_EQ(boxes->BoxCount(), 2);
    EXPECT_EQ(boxes->BoxPath(0), "c:\\install\\");
    EXPECT_EQ(boxes->BoxPath(1), "z:\\tmp\\unpack");
    // The reader sees the folders they stand for.
    EXPECT_EQ(boxes->Edit(0)->text(), Native(manual.Path() / "install"));
    EXPECT_EQ(boxes->Edit(1)->text(), "/tmp/unpack");
}

TEST_F(PathBoxes, Boxes_AreBorderlessChildrenAtTheirRectangles) {
    auto boxes = Make({Box(0, "c:\\a\\", 40), Box(1, "c:\\b\\", 80)});
    for (int i = 0; i < 2; ++i) {
        QLineEdit* edit = boxes->Edit(i);
        EXPECT_EQ(edit->parentWidget(), &window);
        EXPECT_FALSE(edit->hasFrame());
        EXPECT_EQ(edit->geometry(), QRect(100, i == 0 ? 40 : 80, 200, 18));
        EXPECT_EQ(edit->font().pixelSize(), 17);
        EXPECT_EQ(edit->toolTip(), QString::fromUtf8("Папка для распаковки"));
    }
    boxes->SetHintsShown(false);
    EXPECT_EQ(boxes->Edit(0)->toolTip(), QString());
    boxes->SetHintsShown(true);
    EXPECT_EQ(boxes->Edit(1)->toolTip(), QString::fromUtf8("Папка для распаковки"));
}

TEST_F(PathBoxes, SecondRun_ShowsWhatWasTypedBefore) {
    {
        auto boxes = Make({Box(0, "c:\\install\\"), Box(0, "c:\\copies\\")});
        Type(boxes->Edit(0), QString::fromUtf8("/tmp/мои файлы"));
    }
    EXPECT_EQ(store.ReadString(settingname::PathInstall(0)), "z:\\tmp\\" + Ansi("мои файлы"));
    // An untouched box keeps its text as it was.
    EXPECT_EQ(store.ReadString(settingname::PathInstall(1)), "c:\\copies\\");

    auto again = Make({Box(0, "c:\\install\\"), Box(0, "c:\\copies\\")});
    EXPECT_EQ(again->Edit(0)->text(), QString::fromUtf8("/tmp/мои файлы"));
    EXPECT_EQ(again->GetCurrentPath(), "z:\\tmp\\" + Ansi("мои файлы") + "\\");
}

TEST_F(PathBoxes, StoredName_RoundTripsByteForByte) {
    // Written by an earlier version: any spelling, any drive.
    const std::string earlier = Ansi("D:\\Мои документы\\Авто/");
    store.WriteString(settingname::PathInstall(0), earlier);
    Make({Box(0, "c:\\install\\")}).reset();
    EXPECT_EQ(store.ReadString(settingname::PathInstall(0)), earlier);
}

TEST_F(PathBoxes, DamagedOrEmptyStoredValue_GivesTheDefault) {
    store.WriteInteger(settingname::PathInstall(0), 5); // not a string
    store.WriteString(settingname::PathInstall(1), "");
    // PathInstall2 is missing.
    auto boxes = Make({Box(0, "c:\\a\\"), Box(0, "c:\\b\\"), Box(0, "c:\\c\\")});
    EXPECT_EQ(boxes->BoxPath(0), "c:\\a\\");
    EXPECT_EQ(boxes->BoxPath(1), "c:\\b\\");
    EXPECT_EQ(boxes->BoxPath(2), "c:\\c\\");
    boxes.reset();
    // Destruction repairs the values.
    EXPECT_EQ(store.ReadString(settingname::PathInstall(0)), "c:\\a\\");
    EXPECT_EQ(store.ReadString(settingname::PathInstall(1)), "c:\\b\\");
    EXPECT_EQ(store.ReadString(settingname::PathInstall(2)), "c:\\c\\");
}

TEST_F(PathBoxes, ReadOnlyStore_LosesTheTextsQuietly) {
    store.WriteString(settingname::PathInstall(0), "c:\\kept\\");
    store.SetReadOnly(true);
    auto boxes = Make({Box(0, "c:\\a\\")});
    Type(boxes->Edit(0), "/tmp/new");
    boxes.reset();
    EXPECT_EQ(store.ReadString(settingname::PathInstall(0)), "c:\\kept\\");
}

TEST_F(PathBoxes, NoElements_HoldNothingAndStoreNothing) {
    auto boxes = Make({});
    EXPECT_EQ(boxes->BoxCount(), 0);
    EXPECT_EQ(boxes->GetCurrentPath(), std::nullopt);
    boxes->ShowPathBoxes(1);
    boxes->HidePathBoxes(true);
    boxes.reset();
    EXPECT_EQ(store.ChangeCount(), 0u);
    EXPECT_TRUE(window.children().isEmpty());
}

TEST_F(PathBoxes, ScreenChange_ShowsTheNewBoxesBeforeHidingTheOld) {
    auto boxes = Make({Box(0, "a"), Box(1, "b"), Box(0, "c"), Box(1, "d"), Box(2, "e")});
    window.show();
    EXPECT_EQ(boxes->ShownScreen(), 0);
    EXPECT_TRUE(boxes->Edit(0)->isVisible());
    EXPECT_TRUE(boxes->Edit(2)->isVisible());

    VisibilityLog log(*boxes);
    boxes->ShowPathBoxes(1);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"show1", "show3", "hide0", "hide2"}));
    EXPECT_EQ(boxes->ShownScreen(), 1);

    log.Events.clear();
    boxes->ShowPathBoxes(2);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"show4", "hide1", "hide3"}));
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(boxes->Edit(i)->isVisible()) << i;
}

TEST_F(PathBoxes, ChangeToTheSameScreen_KeepsItsBoxes) {
    auto boxes = Make({Box(0, "a"), Box(1, "b")}, 1);
    window.show();
    ASSERT_TRUE(boxes->Edit(1)->isVisible());
    boxes->ShowPathBoxes(1);
    EXPECT_TRUE(boxes->Edit(1)->isVisible());
    EXPECT_FALSE(boxes->Edit(0)->isVisible());
}

TEST_F(PathBoxes, HidePathBoxes_OnlyTheCurrentScreens) {
    auto boxes = Make({Box(0, "a"), Box(1, "b"), Box(1, "c")}, 1);
    window.show();
    boxes->HidePathBoxes(true);
    EXPECT_FALSE(boxes->Edit(1)->isVisible());
    EXPECT_FALSE(boxes->Edit(2)->isVisible());
    boxes->HidePathBoxes(false);
    EXPECT_TRUE(boxes->Edit(1)->isVisible());
    EXPECT_TRUE(boxes->Edit(2)->isVisible());
    EXPECT_FALSE(boxes->Edit(0)->isVisible());
}

TEST_F(PathBoxes, CurrentPath_FirstBoxOfTheScreenWithABackslash) {
    auto boxes = Make(
        {Box(0, "c:\\zero"), Box(2, "c:\\two\\"), Box(2, "c:\\second"), Box(3, "z:/tmp/slash/")});
    struct Case {
        int screen;
        std::optional<std::string> path;
    };
    const Case cases[] = {
        {0, "c:\\zero\\"},    // the missing backslash is added
        {1, std::nullopt},    // no box on that screen: the caller's value stays
        {2, "c:\\two\\"},     // the first of two, not doubled
        {3, "z:/tmp/slash/"}, // a final slash already ends the folder
        {7, std::nullopt},
    };
    for (const Case& c : cases) {
        boxes->ShowPathBoxes(c.screen);
        EXPECT_EQ(boxes->GetCurrentPath(), c.path) << c.screen;
    }
}

TEST_F(PathBoxes, TypedPath_IsReturnedWithAFinalBackslash) {
    auto boxes = Make({Box(0, "c:\\install\\")});
    struct Case {
        const char* typed;
        std::string path;
    };
    const Case cases[] = {
        {"/tmp/unpack", "z:\\tmp\\unpack\\"}, {"/tmp/unpack/", "z:\\tmp\\unpack\\"},
        {"d:\\install", "d:\\install\\"},     {"  c:\\spaced\\  ", "c:\\spaced\\"},
        {"папка", Ansi("папка\\")},
    };
    for (const Case& c : cases) {
        Type(boxes->Edit(0), QString::fromUtf8(c.typed));
        EXPECT_EQ(boxes->GetCurrentPath(), c.path) << c.typed;
    }
    // Inside the manual's folder a typed folder is a name on drive C.
    Type(boxes->Edit(0), Native(manual.Path() / "ch01"));
    EXPECT_EQ(boxes->GetCurrentPath(), "c:\\ch01\\");
}

TEST(PathBoxNames, ManualNameOfWhatWasTyped) {
    test::ManualFolder manual;
    const std::string home = FromNativePath(QDir::homePath().toStdString());
    struct Case {
        QString typed;
        std::string name;
    };
    const Case cases[] = {
        {"", ""},
        {"   ", ""},
        {"/", "z:\\"},
        {"/tmp/a b", "z:\\tmp\\a b"},
        {"/tmp/../var/./x", "z:\\var\\x"},
        {Native(manual.Path() / "docs"), "c:\\docs"},
        {Native(manual.Path()), "c:\\"},
        {"~", home},
        {"~/Загрузки", home + "\\" + Ansi("Загрузки")},
        {"~user", "~user"}, // another user's home is not looked up
        {"c:\\install\\", "c:\\install\\"},
        {QString::fromUtf8("E:\\Ремонт"), Ansi("E:\\Ремонт")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TPathInputBox::ManualName(c.typed), c.name) << c.typed.toStdString();
}

TEST(PathBoxNames, DisplayTextOfAManualName) {
    test::ManualFolder manual;
    EXPECT_EQ(TPathInputBox::DisplayText(""), QString());
    EXPECT_EQ(TPathInputBox::DisplayText("  "), QString());
    EXPECT_EQ(TPathInputBox::DisplayText("z:\\tmp\\x\\"), "/tmp/x");
    EXPECT_EQ(TPathInputBox::DisplayText(Ansi("c:\\Руководство\\")),
              Native(manual.Path() / "Руководство"));
    // A typed-back display text names the same folder.
    for (const char* name : {"z:\\tmp\\x", "c:\\docs"})
        EXPECT_EQ(TPathInputBox::ManualName(TPathInputBox::DisplayText(name)), name);
}

TEST_F(PathBoxes, FolderChooser_SetsTheBoxFromTheChosenFolder) {
    fs::create_directories(manual.Path() / "start");
    fs::create_directories(manual.Path() / "chosen");
    QString startedAt;
    QString answer = Native(manual.Path() / "chosen");
    auto boxes = Make({Box(0, "c:\\start\\"), Box(0, "c:\\nowhere\\")}, 0,
                      [&](QWidget* parent, const QString& start) {
                          EXPECT_EQ(parent, &window);
                          startedAt = start;
                          return answer;
                      });

    // The folder button inside the box opens the chooser.
    const QList<QAction*> actions = boxes->Edit(0)->actions();
    ASSERT_EQ(actions.size(), 1);
    actions.front()->trigger();
    EXPECT_EQ(startedAt, Native(manual.Path() / "start"));
    EXPECT_EQ(boxes->Edit(0)->text(), Native(manual.Path() / "chosen"));
    EXPECT_EQ(boxes->GetCurrentPath(), "c:\\chosen\\");

    // A folder that does not exist starts the chooser at home.
    boxes->ChooseFolder(1);
    EXPECT_EQ(startedAt, QDir::homePath());

    // Cancelled: the text stays.
    answer.clear();
    boxes->ChooseFolder(0);
    EXPECT_EQ(boxes->Edit(0)->text(), Native(manual.Path() / "chosen"));
    EXPECT_EQ(boxes->BoxPath(0), "c:\\chosen");

    boxes->ChooseFolder(-1);
    boxes->ChooseFolder(2);
    boxes.reset();
    EXPECT_EQ(store.ReadString(settingname::PathInstall(0)), "c:\\chosen");
}

TEST_F(PathBoxes, MouseOverABox_IsReportedToTheWindow) {
    auto boxes = Make({Box(0, "c:\\a\\")});
    QSignalSpy moves(boxes.get(), &TPathInputBox::mouseMovedOverBox);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(105, 45), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(boxes->Edit(0), &move);
    EXPECT_EQ(moves.count(), 1);
}

TEST_F(PathBoxes, WindowDestroyedFirst_TextsAreStillSaved) {
    auto owner = std::make_unique<QWidget>();
    auto boxes = std::make_unique<TPathInputBox>(TDynamicPathInputArray{Box(0, "c:\\a\\")},
                                                 owner.get(), store, 0);
    Type(boxes->Edit(0), "/tmp/typed");
    owner.reset();
    EXPECT_EQ(boxes->Edit(0), nullptr);
    boxes->ShowPathBoxes(0);
    boxes->HidePathBoxes(true);
    boxes.reset();
    EXPECT_EQ(store.ReadString(settingname::PathInstall(0)), "z:\\tmp\\typed");
}

} // namespace
} // namespace carmanual
