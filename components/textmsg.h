#pragma once
// The text fields of the skin (the page title line, the status line): texts
// painted straight onto a skinned window over its background, without
// controls. A field of number 1000 belongs to the dialog window; every other
// field to the main window. The windows call PaintTextFields from their paint
// handlers; a changed text asks its window to repaint the field's old and new
// area, so the background under the old text comes back.

#include "panelelements.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

class QPainter;

namespace carmanual {

// Which window a paint handler paints.
enum class TTextTarget { MainWindow, DialogWindow };

class TTextMsg final : public QObject {
    Q_OBJECT

public:
    // Fields of this number are drawn on the dialog window.
    static constexpr std::int32_t DialogFieldNumber = 1000;
    // SetFieldText's number for every field identified as "statusline".
    static constexpr std::int32_t StatusLineFields = -1;

    // The component for the description's text fields, or nothing when it has
    // none (callers test for absence). mainWindow is repainted when a text of
    // one of its fields changes.
    static std::unique_ptr<TTextMsg> CreateTextFields(const TDynamicTextArray& fields,
                                                      QWidget* mainWindow);

    TTextMsg(const TDynamicTextArray& fields, QWidget* mainWindow);
    ~TTextMsg() override;
    Q_DISABLE_COPY_MOVE(TTextMsg)

    // The dialog window, once it exists: it paints the fields of number 1000
    // and is repainted when their texts change. Null detaches it.
    void SetDialogWindow(QWidget* dialog);

    // Paints the fields of the current screen that belong to target, each
    // transparently at its left and top in its own font and colour. Each
    // painted field's rectangle becomes the area its text covers.
    void PaintTextFields(QPainter& painter, int currentScreen,
                         TTextTarget target = TTextTarget::MainWindow);

    // number >= 0: the first field with that number; StatusLineFields: every
    // "statusline" field; any other number changes nothing. A text equal to
    // the current one (letter case counts) changes nothing either. With
    // repaint, the field's window repaints the old and the new text area.
    void SetFieldText(const QString& text, std::int32_t number, bool repaint);

    int FieldCount() const { return static_cast<int>(m_fields.size()); }
    const QString& FieldText(int index) const { return m_fields.at(Index(index)).Text; }
    // Before the first paint: left, top and right from the description and
    // no height; afterwards the area of the text last painted.
    QRect FieldRect(int index) const { return m_fields.at(Index(index)).Rect; }
    const QFont& FieldFont(int index) const { return m_fields.at(Index(index)).Font; }
    QColor FieldColor(int index) const { return m_fields.at(Index(index)).Color; }
    std::int32_t FieldScreen(int index) const { return m_fields.at(Index(index)).Screen; }
    std::int32_t FieldNumber(int index) const { return m_fields.at(Index(index)).Number; }

    // The font of a field as the skins describe it: the name, a size in
    // points of the 96-dpi screens the skins were drawn for, and the style
    // words "bold", "italic", "underline", "strikeout".
    static QFont FieldFontFromRecord(const RText& field);

signals:
    // A text change with repaint asked the field's window to repaint area.
    void fieldRepaintRequested(int index, QRect area);

private:
    struct TField {
        QFont Font;
        QColor Color;
        QRect Rect;
        QString Text;
        std::int32_t Screen = 0;
        std::int32_t Number = 0;
        bool StatusLine = false;
    };

    static std::size_t Index(int index) { return static_cast<std::size_t>(index); }
    void ChangeField(int index, const QString& text, bool repaint);
    QRect TextArea(const TField& field, const QString& text) const;

    std::vector<TField> m_fields;
    QPointer<QWidget> m_mainWindow;
    QPointer<QWidget> m_dialog;
};

} // namespace carmanual
