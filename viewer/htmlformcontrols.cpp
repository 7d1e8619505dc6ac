// The form controls of pages: one Qt control per <input>, <select> and
// <textarea>, laid over the transparent picture the page rewriting put in
// its place, so the layout makes room for it and scrolls it with the text.

#include "htmlviewer_p.h"

#include "qtansi.h"

#include <QAbstractTextDocumentLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <map>

namespace carmanual {

namespace {

// A control of the page's form as a widget of host; radio buttons of one
// name share a group.
QWidget* CreateFormControl(const TFormControlSpec& spec, QWidget* host, const QFontMetrics& fm,
                           std::map<std::string, QButtonGroup*>* radioGroups) {
    const QString value = QString::fromUtf8(spec.Value.c_str());
    QWidget* w = nullptr;
    switch (spec.Kind) {
    case TFormControlKind::Select: {
        auto* combo = new QComboBox(host);
        for (const std::string& option : spec.Options)
            combo->addItem(QString::fromUtf8(option.c_str()));
        if (spec.Selected >= 0 && spec.Selected < combo->count())
            combo->setCurrentIndex(spec.Selected);
        combo->adjustSize();
        w = combo;
        break;
    }
    case TFormControlKind::Text:
    case TFormControlKind::Password:
    case TFormControlKind::File: {
        auto* edit = new QLineEdit(value, host);
        if (spec.Kind == TFormControlKind::Password)
            edit->setEchoMode(QLineEdit::Password);
        if (spec.MaxLength > 0)
            edit->setMaxLength(spec.MaxLength);
        edit->setReadOnly(spec.ReadOnly);
        const int chars = spec.Size > 0 ? std::min(spec.Size, 200) : 20;
        edit->resize(fm.averageCharWidth() * chars + 12, edit->sizeHint().height());
        w = edit;
        break;
    }
    case TFormControlKind::TextArea: {
        auto* edit = new QPlainTextEdit(value, host);
        edit->setReadOnly(spec.ReadOnly);
        const int cols = spec.Cols > 0 ? std::min(spec.Cols, 200) : 20;
        const int rows = spec.Rows > 0 ? std::min(spec.Rows, 100) : 2;
        edit->resize(fm.averageCharWidth() * cols + 24, fm.lineSpacing() * rows + 12);
        w = edit;
        break;
    }
    case TFormControlKind::CheckBox: {
        auto* box = new QCheckBox(host);
        box->setChecked(spec.Checked);
        box->adjustSize();
        w = box;
        break;
    }
    case TFormControlKind::Radio: {
        auto* radio = new QRadioButton(host);
        radio->setAutoExclusive(false);
        QButtonGroup*& group = (*radioGroups)[spec.Name];
        if (!group)
            group = new QButtonGroup(radio);
        group->addButton(radio);
        radio->setChecked(spec.Checked);
        radio->adjustSize();
        w = radio;
        break;
    }
    case TFormControlKind::Button:
    case TFormControlKind::Submit:
    case TFormControlKind::Reset: {
        QString caption = value;
        if (caption.isEmpty())
            caption = spec.Kind == TFormControlKind::Reset ? QStringLiteral("Reset")
                                                           : QStringLiteral("Submit");
        auto* button = new QPushButton(caption, host);
        button->adjustSize();
        w = button;
        break;
    }
    }
    w->setObjectName(FromAnsi(spec.Name));
    w->setEnabled(!spec.Disabled);
    w->hide();
    return w;
}

} // namespace

void THTMLViewer::Private::BuildControls() {
    for (QPointer<QWidget>& w : controls) {
        if (w) {
            w->hide();
            w->deleteLater();
        }
    }
    controls.clear();
    std::map<std::string, QButtonGroup*> radioGroups;
    QWidget* host = browser->viewport();
    const QFontMetrics fm(host->font());
    for (const TFormControlSpec& spec : page.Controls)
        controls.emplace_back(CreateFormControl(spec, host, fm, &radioGroups));
}

// Places each control over its picture in the layout.
void THTMLViewer::Private::PlaceControls() {
    if (placeholders.empty())
        return;
    QTextDocument* doc = browser->document();
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    const QPoint offset(browser->horizontalScrollBar()->value(),
                        browser->verticalScrollBar()->value());
    for (const Placeholder& ph : placeholders) {
        QWidget* w = controls[static_cast<std::size_t>(ph.control)];
        if (!w)
            continue;
        const QTextBlock block = doc->findBlock(ph.position);
        const QRectF blockRect = layout->blockBoundingRect(block);
        const QTextLayout* tl = block.layout();
        const int rel = ph.position - block.position();
        const QTextLine line = tl ? tl->lineForTextPosition(rel) : QTextLine();
        if (!line.isValid()) {
            w->hide();
            continue;
        }
        const qreal x = blockRect.left() + line.cursorToX(rel);
        const qreal y = blockRect.top() + line.y() + line.ascent() - w->height();
        w->move(QPoint(qRound(x), qRound(y)) - offset);
        w->show();
    }
}

void THTMLViewer::Private::QueuePlacement() {
    if (placeholders.empty() || placementQueued)
        return;
    placementQueued = true;
    QTimer::singleShot(0, q, [this] {
        placementQueued = false;
        PlaceControls();
    });
}

} // namespace carmanual
