#include "skinpanels.h"

#include "ansi.h"
#include "encode.h"
#include "popups.h"
#include "screens.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <map>

namespace skingen {

namespace {

QString FromAnsi(const std::string& ansi) {
    return QString::fromStdString(carmanual::AnsiToUtf8(ansi));
}

QString Where(const SkinPanel& panel) {
    return QStringLiteral("line %1 (%2)")
        .arg(panel.line)
        .arg(QString::fromStdString(panel.keyword));
}

QRect PanelRect(const SkinPanel& panel) {
    return QRect(QPoint(panel.Int("vx"), panel.Int("vy")),
                 QPoint(panel.Int("vw") - 1, panel.Int("vh") - 1));
}

const QRect kWindow(0, 0, kScreenWidth, kScreenHeight);

// Rows a list is painted for: the history lists have eight entries, the
// favourites a handful (the program stretches the list as they grow), the
// menus one per command.
int PopupRows(const SkinPanel& popup, int type) {
    if (type == -1 || type == -2)
        return 8;
    if (type == -3)
        return 6;
    return static_cast<int>(popup.List("go").size());
}

// Captions a preview shows for lists the program fills itself.
QStringList SampleCaptions(int type) {
    if (type == -3)
        return {"Замена тормозных колодок", "Ремень ГРМ", "Предохранители",
                "Моменты затяжки резьбовых соединений основных узлов"};
    return {"Тормозная система", "Замена тормозных колодок",
            "Прокачка тормозов", "Содержание",
            "Свечи зажигания",   "График ТО",
            "Аккумулятор",       "Без названия"};
}

QFont CaptionFont(const SkinPanel& popup, bool move) {
    const std::string suffix = move ? "mv" : "up";
    QFont font(FromAnsi(popup.String("font" + suffix)));
    const int size = popup.Int("size" + suffix);
    font.setPointSize(size > 0 ? size : 8);
    const std::string style = popup.String("style" + suffix);
    font.setBold(style.find("bold") != std::string::npos);
    font.setItalic(style.find("italic") != std::string::npos);
    font.setUnderline(style.find("underline") != std::string::npos);
    font.setStrikeOut(style.find("strikeout") != std::string::npos);
    return font;
}

QColor ColorOf(std::uint32_t c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// The caption drawn the way the list draws it: 7 pixels from the left,
// centred in height, shortened with "..." when it does not fit.
void DrawEntryCaption(QPainter& p, const QRect& entry, const QString& caption, const QFont& font,
                      const QColor& color) {
    const QFontMetrics fm(font);
    const int width = entry.width();
    const int cy = fm.height();
    const int top = cy < entry.height() ? (entry.height() - cy) / 2 : -3;
    const int right =
        fm.horizontalAdvance(caption) + 14 < width ? fm.horizontalAdvance(caption) + 7 : width - 7;
    QString shown = caption;
    for (int k = 0; k < caption.size() && fm.horizontalAdvance(shown) > right - 7; ++k)
        shown = caption.left(caption.size() - k) + "...";
    p.setFont(font);
    p.setPen(color);
    p.drawText(QRect(entry.left() + 7, entry.top() + top, right - 7, cy),
               Qt::AlignLeft | Qt::AlignTop, shown);
}

struct ItemUse {
    QString role;
    QImage backdrop;
    QString owner;
};

class PopupPainter {
public:
    PopupPainter(const ProblemFn& problem, std::vector<PanelPicture>& out)
        : m_problem(problem), m_out(out) {}

    void Paint(const SkinPanel& popup, std::vector<PopupPreview>* previews) {
        const int type = PopupType(popup);
        const QString where = Where(popup);
        static const char* const kRoles[] = {"fnbtnup", "fnbtnmove", "fnbtndown"};
        std::vector<std::vector<QString>> files(3);
        QSize itemSize;
        for (int role = 0; role < 3; ++role) {
            for (const std::string& f : popup.List(kRoles[role]))
                files[role].push_back(FromAnsi(f));
            if (files[role].empty()) {
                m_problem(where + QStringLiteral(": %1 names no picture").arg(kRoles[role]));
                return;
            }
            for (const QString& file : files[role]) {
                const QSize size = PopupItemSize(file.section('\\', -2, -2));
                if (!size.isValid()) {
                    m_problem(where + ": " + file + ": no popup entry style \"" +
                              file.section('\\', -2, -2) + "\"");
                    return;
                }
                if (itemSize.isValid() && size != itemSize) {
                    m_problem(where + ": " + file + ": the entries of one list differ in size");
                    return;
                }
                itemSize = size;
            }
        }

        const int rows = PopupRows(popup, type);
        const std::size_t captions = popup.List("caption").size();
        if (type != -1 && type != -2 && type != -3 &&
            (rows == 0 || captions != static_cast<std::size_t>(rows))) {
            m_problem(where + QStringLiteral(": a menu needs one caption per command (%1 and %2)")
                                  .arg(captions)
                                  .arg(rows));
            return;
        }
        const int margin = popup.Int("ybtn") == -1 ? 5 : popup.Int("ybtn");
        const int xbtn = popup.Int("xbtn");

        QPolygonF shape;
        const std::vector<std::string> vertex = popup.List("vertex");
        if (vertex.size() > 1) {
            for (const std::string& item : vertex) {
                const std::size_t comma = item.find(',');
                const std::int32_t x = carmanual::IntAt(item, 0);
                const std::int32_t y =
                    comma == std::string::npos ? -1 : carmanual::IntAt(item, comma + 1);
                if (comma == std::string::npos || x < 0 || y < 0) {
                    m_problem(where + ": vertex item \"" + FromAnsi(item) + "\" is not \"x,y\"");
                    return;
                }
                shape << QPointF(x, y);
            }
            if (popup.screen != 0)
                m_problem(where + ": only lists of the first screen take a shape");
        }
        QSize size;
        if (!shape.isEmpty()) {
            const QRectF box = shape.boundingRect();
            size = QSize(static_cast<int>(box.right()), static_cast<int>(box.bottom()));
        } else {
            size = QSize(xbtn == -1 ? itemSize.width() + 12 : 2 * xbtn + itemSize.width(),
                         2 * margin + rows * itemSize.height());
        }
        const int left = xbtn == -1 ? (size.width() - itemSize.width()) / 2 : xbtn;
        const QRect entries(left, margin, itemSize.width(), rows * itemSize.height());
        if (!QRect(QPoint(0, 0), size).contains(entries)) {
            m_problem(where + ": the entries do not fit the list's shape");
            return;
        }
        const int xfon = popup.Int("xfon"), yfon = popup.Int("yfon");
        if ((xfon != -1 && (xfon < 0 || xfon + size.width() > kScreenWidth)) ||
            (yfon != -1 && (yfon < 0 || yfon + size.height() > kScreenHeight)))
            m_problem(where + ": the list stands outside the window");

        const QString back = FromAnsi(popup.String("fnfon"));
        const QImage painted = PaintPopupBack(size, shape, margin);
        const QByteArray backBytes = EncodePicture(painted, back);
        const QImage decoded = QImage::fromData(backBytes).convertToFormat(QImage::Format_RGB888);
        if (!Add(back,
                 "background " + QString::number(size.width()) + "x" +
                     QString::number(size.height()),
                 QImage(), where, painted))
            return;
        const QImage under = decoded.copy(QRect(QPoint(left, margin), itemSize));
        std::vector<std::vector<QImage>> pictures(3);
        for (int role = 0; role < 3; ++role)
            for (const QString& file : files[role]) {
                QString glyph = file.section('\\', -1).section('.', 0, 0);
                while (!glyph.isEmpty() && glyph.back().isDigit())
                    glyph.chop(1);
                const QString style = file.section('\\', -2, -2);
                const QImage picture = PaintPopupItem(style, glyph, role, under);
                pictures[role].push_back(picture);
                Add(file, kRoles[role], under, where, picture);
            }

        if (!previews)
            return;
        QStringList texts;
        for (const std::string& c : popup.List("caption"))
            texts << FromAnsi(c);
        if (texts.isEmpty())
            texts = SampleCaptions(type).mid(0, rows);
        QImage view = decoded.convertToFormat(QImage::Format_RGB32);
        view.setDotsPerMeterX(3780);
        view.setDotsPerMeterY(3780);
        QPainter p(&view);
        for (int i = 0; i < texts.size() && i < rows; ++i) {
            // The second entry is shown under the mouse, the third pressed.
            const int role = i == 1 ? 1 : i == 2 ? 2 : 0;
            const std::size_t k = static_cast<std::size_t>(i) < pictures[role].size() ? i : 0;
            const QRect entry(QPoint(left, margin + i * itemSize.height()), itemSize);
            p.drawImage(entry.topLeft(), pictures[role][k]);
            DrawEntryCaption(p, entry, texts[i], CaptionFont(popup, role > 0),
                             ColorOf(popup.Color(role > 0 ? "colormv" : "colorup")));
        }
        p.end();
        previews->push_back({popup.screen, type, view});
    }

private:
    // Records a picture once; a picture shared by several lists must be the
    // same picture in every one of them.
    bool Add(const QString& name, const QString& role, const QImage& backdrop, const QString& where,
             const QImage& image) {
        const auto known = m_uses.find(name);
        if (known != m_uses.end()) {
            if (known->second.role != role || known->second.backdrop != backdrop) {
                m_problem(where + ": " + name + " is also used by " + known->second.owner +
                          " in another role or over another background");
                return false;
            }
            return true;
        }
        m_uses.emplace(name, ItemUse{role, backdrop, where});
        m_out.push_back({name, image});
        return true;
    }

    const ProblemFn& m_problem;
    std::vector<PanelPicture>& m_out;
    std::map<QString, ItemUse> m_uses;
};

void CheckPlace(const SkinPanel& panel, const ProblemFn& problem) {
    const QString where = Where(panel);
    if (panel.keyword == "_html" || panel.keyword == "_path" || panel.keyword == "_clip" ||
        panel.keyword == "_image" || panel.keyword == "_findtxt") {
        const QRect r = PanelRect(panel);
        if (r.isEmpty() || !kWindow.contains(r))
            problem(where + ": the rectangle is empty or leaves the window");
        else if (panel.keyword == "_html" && panel.screen == 1 && !kBackgroundPanel.contains(r))
            problem(where + ": a page panel of the document screen must lie in its background "
                            "panel (33,90 673 x 421)");
    } else if (panel.keyword == "_tree") {
        const QRect r(kBackgroundPanel.topLeft(), QPoint(panel.Int("vw") - 1, panel.Int("vh") - 1));
        if (r.width() < 30 || !kBackgroundPanel.contains(r))
            problem(where + ": the tree must fit the background panel (33,90 673 x 421)");
    } else if (panel.keyword == "_text") {
        const int left = panel.Int("vx"), top = panel.Int("vy"), right = panel.Int("vw");
        if (left < 0 || top < 0 || right <= left || right > kScreenWidth || top >= kScreenHeight)
            problem(where + ": the text field leaves the window");
        if (panel.Int("size") <= 0 || panel.String("font").empty())
            problem(where + ": the text field needs a font and a size");
    }
}

} // namespace

std::vector<PanelPicture> MakePanelPictures(const SkinSource& skin, const ProblemFn& problem,
                                            std::vector<PopupPreview>* previews) {
    std::vector<PanelPicture> out;
    PopupPainter popups(problem, out);
    int trees = 0;
    for (const SkinPanel& panel : skin.panels) {
        CheckPlace(panel, problem);
        if (panel.keyword == "_popup")
            popups.Paint(panel, previews);
        trees += panel.keyword == "_tree";
    }
    if (trees > 2)
        problem(QStringLiteral("%1 _tree elements: the program builds no tree for more than two")
                    .arg(trees));
    return out;
}

void DrawPanelsPreview(QPainter& p, const SkinSource& skin, int screen) {
    p.save();
    for (const SkinPanel& panel : skin.panels) {
        if (panel.screen != screen)
            continue;
        if (panel.keyword == "_text") {
            QFont font(FromAnsi(panel.String("font")));
            font.setPointSize(panel.Int("size"));
            const std::string style = panel.String("style");
            font.setBold(style.find("bold") != std::string::npos);
            font.setItalic(style.find("italic") != std::string::npos);
            p.setFont(font);
            p.setPen(ColorOf(panel.Color("color")));
            const QString value = FromAnsi(panel.String("value"));
            const QFontMetrics fm(font);
            p.drawText(QRect(panel.Int("vx"), panel.Int("vy"), fm.horizontalAdvance(value) + 1,
                             fm.height()),
                       Qt::AlignLeft | Qt::AlignTop, value);
            continue;
        }
        QRect r;
        QColor color(110, 200, 255, 160);
        if (panel.keyword == "_tree") {
            r = QRect(kBackgroundPanel.topLeft(), QPoint(panel.Int("vw") - 1, panel.Int("vh") - 1));
            color = QColor(120, 255, 140, 160);
        } else if (panel.keyword == "_html" || panel.keyword == "_path") {
            r = PanelRect(panel);
        } else {
            continue;
        }
        p.setPen(QPen(color, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setFont(QFont("DejaVu Sans", 7));
        p.drawText(r.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop,
                   QString::fromStdString(panel.keyword) + " " +
                       FromAnsi(panel.String(panel.keyword == "_path" ? "pathdef" : "fn")));
    }
    p.restore();
}

} // namespace skingen
