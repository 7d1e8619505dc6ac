#pragma once
// The page font dialog ("Шрифт"): the reader picks the default font, text
// colour, link colour, size and background of the pages, watching a sample
// page that follows every change. The page panel runs it and hands the
// result to every page viewer.

#include "htmlviewer.h"

#include <QDialog>

#include <optional>
#include <string>

class QListWidget;
class QPushButton;
class QSpinBox;

namespace carmanual {

class TColorGrid;

class TFontForm final : public QDialog {
    Q_OBJECT

public:
    // The sample page (Windows-1251), shown after every change.
    static const std::string& SampleText();

    explicit TFontForm(QWidget* parent = nullptr);
    ~TFontForm() override;
    Q_DISABLE_COPY_MOVE(TFontForm)

    // Selects the name in the font list ("Arial" when the list lacks it);
    // the sample shows the name given, installed or not.
    void SetFontName(const std::string& name);
    // The selected name; "Arial" when none is selected.
    std::string GetFontName() const;
    void SetFontColor(TColor color);
    TColor FontColor() const { return m_fontColor; }
    void SetHotSpotColor(TColor color);
    TColor HotSpotColor() const { return m_hotSpotColor; }
    void SetFontSize(int size);
    int Size() const { return m_size; }
    // Selects the colour's name in the background list, adding it at the
    // end when the list lacks it.
    void SetBackground(TColor color);
    // The colour of the selected name; the button face colour when none.
    TColor GetBackground() const;

    // A colour's standard name ("clBlack" ... "clNone"), or "$" and its eight
    // hexadecimal digits when it has none.
    static std::string ColorName(TColor color);
    // The colour of a name ColorName gives; nothing for another text.
    static std::optional<TColor> ColorFromName(const std::string& name);

    // Handlers, run by the controls; public so the dialog can be driven
    // without a reader.
    void FormShow();
    void ResetButtonClick();
    void FontColorGridChange();
    void HotSpotColorGridChange();
    void ListBoxClicks();

    THTMLViewer* FontViewer() const { return m_fontViewer; }
    TColorGrid* FontColorGrid() const { return m_fontColorGrid; }
    TColorGrid* HotSpotColorGrid() const { return m_hotSpotColorGrid; }
    QSpinBox* FontSizeEdit() const { return m_fontSizeEdit; }
    QListWidget* FontListBox() const { return m_fontListBox; }
    QListWidget* BackListBox() const { return m_backListBox; }
    QPushButton* ResetButton() const { return m_resetButton; }
    QPushButton* OKButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancel; }
    // The font the sample shows (may differ from GetFontName).
    const std::string& SampleFontName() const { return m_sampleFontName; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void ShowSample();

    THTMLViewer* m_fontViewer = nullptr;
    TColorGrid* m_fontColorGrid = nullptr;
    TColorGrid* m_hotSpotColorGrid = nullptr;
    QSpinBox* m_fontSizeEdit = nullptr;
    QListWidget* m_fontListBox = nullptr;
    QListWidget* m_backListBox = nullptr;
    QPushButton* m_resetButton = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancel = nullptr;

    std::string m_sampleFontName = "Arial";
    TColor m_fontColor = 0;
    TColor m_hotSpotColor = 0;
    int m_size = 12;
    TColor m_background = 0xFFFFFF;

    std::string m_savedName;
    int m_savedSize = 12;
    TColor m_savedColor = 0;
    TColor m_savedHotSpot = 0;
    TColor m_savedBackground = 0xFFFFFF;
};

} // namespace carmanual
