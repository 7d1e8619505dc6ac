#pragma once
// The path boxes of the skin: borderless one-line edits in which the reader
// names the folder that archives are unpacked into and offered files are
// copied to. Each box belongs to one screen; the boxes of the screen shown
// are visible. Their texts are kept in the settings store as "PathInstall"
// and the box's index, and come back on the next run.
//
// Stored values and GetCurrentPath are manual names, as the rest of the
// program uses them ("c:\install\", "z:\home\anna\"); a box shows the native
// folder a name stands for, and what the reader types or picks with the
// folder chooser is turned back into a manual name. A box whose text the
// reader did not change keeps its stored name byte for byte.

#include "panelelements.h"

#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace carmanual {

class ISettingsStore;

class TPathInputBox final : public QObject {
    Q_OBJECT

public:
    // Asks the reader for a folder, starting at startFolder (native); an
    // empty result means the reader cancelled.
    using TFolderChooser = std::function<QString(QWidget* parent, const QString& startFolder)>;

    // Builds one hidden box per element as a child of mainWindow, fills it
    // from the store (or the element's default path) and shows the boxes of
    // currentScreen. store must outlive the component, which writes the texts
    // back when it is destroyed. Without a chooser the platform's folder
    // dialog is used.
    TPathInputBox(const TDynamicPathInputArray& boxes, QWidget* mainWindow, ISettingsStore& store,
                  int currentScreen, TFolderChooser chooseFolder = {});
    ~TPathInputBox() override;
    Q_DISABLE_COPY_MOVE(TPathInputBox)

    // After a change of screen: first the boxes of the new screen are shown,
    // then those of the screen shown before are hidden, so the screen never
    // shows a gap. The new screen counts as current from then on.
    void ShowPathBoxes(int currentScreen);
    // The boxes of the current screen are hidden (true) or shown again
    // (false), for the standard window layout.
    void HidePathBoxes(bool hide);

    // The folder of the current screen's first box as a manual name ending in
    // a backslash; nothing when no box belongs to the current screen.
    std::optional<std::string> GetCurrentPath() const;

    // Writes every box's text to the store (the destructor does it too).
    void SaveTexts();

    // Lets the reader pick the folder of box index (the folder button inside
    // the box runs it). Cancelling keeps the text.
    void ChooseFolder(int index);

    // Tool tips follow the "Hint" setting.
    void SetHintsShown(bool shown);

    int BoxCount() const { return static_cast<int>(m_boxes.size()); }
    QLineEdit* Edit(int index) const { return m_boxes.at(Index(index)).Edit.data(); }
    std::int32_t BoxScreen(int index) const { return m_boxes.at(Index(index)).Screen; }
    // The manual name the box's text stands for: what is stored.
    const std::string& BoxPath(int index) const { return m_boxes.at(Index(index)).Path; }
    // The screen whose boxes were last shown; -1 before any.
    int ShownScreen() const { return m_shownScreen; }

    // What a box shows for a manual name: the native folder it stands for.
    static QString DisplayText(std::string_view manualName);
    // The manual name of what the reader typed: native folders (also "~/...")
    // become manual names, anything else is taken as a manual name as typed.
    static std::string ManualName(const QString& text);

signals:
    // The mouse moved over a box: skinned elements lose their hover state
    // (the main window runs its mouse-move handling at (-1, -1)).
    void mouseMovedOverBox();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TBox {
        QPointer<QLineEdit> Edit;
        std::int32_t Screen = 0;
        std::string Path;
        QString Hint;
    };

    static std::size_t Index(int index) { return static_cast<std::size_t>(index); }
    void CreatePathBoxes(const TDynamicPathInputArray& boxes, int currentScreen);

    QPointer<QWidget> m_mainWindow;
    ISettingsStore& m_store;
    TFolderChooser m_chooseFolder;
    std::vector<TBox> m_boxes;
    int m_shownScreen = -1;
};

} // namespace carmanual
