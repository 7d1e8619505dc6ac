#pragma once
// A manual in memory for the viewer tests: pages, pictures and style sheets
// packed with the program's own archive writer and opened as the process's
// archive, with the program folder in a temporary folder (drive c:).

#include "archive.h"
#include "archivewriter.h"
#include "paths.h"
#include "tempdir.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace carmanual::test {

inline std::string PictureBytes(int w, int h, const char* format, QColor color = Qt::red) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

// Two frames of 7 x 5 pixels (Qt writes no GIF).
inline std::string GifBytes() {
    static const unsigned char gif[] = {
        0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x07, 0x00, 0x05, 0x00, 0xf0, 0x00, 0x00, 0xff,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x21,
        0xff, 0x0b, 0x4e, 0x45, 0x54, 0x53, 0x43, 0x41, 0x50, 0x45, 0x32, 0x2e, 0x30, 0x03,
        0x01, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x07, 0x00, 0x05, 0x00, 0x00,
        0x02, 0x05, 0x84, 0x8f, 0xa9, 0xbb, 0x05, 0x00, 0x21, 0xf9, 0x04, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x07, 0x00, 0x05, 0x00, 0x80, 0x00, 0x00,
        0xff, 0x00, 0x00, 0x00, 0x02, 0x05, 0x84, 0x8f, 0xa9, 0xbb, 0x05, 0x00, 0x3b};
    return std::string(reinterpret_cast<const char*>(gif), sizeof gif);
}

class ViewerTest : public testing::Test {
protected:
    void OpenManual(const std::vector<ArchiveInput>& files) {
        InitProgramPaths(m_dir.Path());
        TheArchive().OpenBytes(BuildArchive(files));
        SetArchiveRoot(ArchiveRootFor(ProgramDir()));
    }
    void TearDown() override { TheArchive().Close(); }

    const TempDir& Dir() const { return m_dir; }

private:
    TempDir m_dir;
};

inline QTextBrowser* BrowserOf(QWidget* viewer) {
    return viewer->findChild<QTextBrowser*>();
}

// The foreground of the first character of text in the document.
inline QColor ColorOfText(QTextDocument* doc, const QString& text) {
    const QTextCursor c = doc->find(text);
    if (c.isNull())
        return {};
    QTextCursor at(doc);
    at.setPosition(c.selectionStart() + 1);
    return at.charFormat().foreground().color();
}

// A mouse move without buttons, delivered to the widget at once.
inline void MoveMouse(QWidget* widget, QPoint p) {
    QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(widget->mapToGlobal(p)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Clicks the first occurrence of text in a viewer's page.
inline void ClickText(QWidget* viewer, const QString& text) {
    QTextBrowser* browser = BrowserOf(viewer);
    const QTextCursor c = browser->document()->find(text);
    ASSERT_FALSE(c.isNull()) << text.toStdString();
    QTextCursor mid(browser->document());
    mid.setPosition((c.selectionStart() + c.selectionEnd()) / 2);
    browser->ensureCursorVisible();
    const QPoint p = browser->cursorRect(mid).center();
    MoveMouse(browser->viewport(), p);
    QTest::mousePress(browser->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseRelease(browser->viewport(), Qt::LeftButton, {}, p);
}

inline QPoint PointOfText(QWidget* viewer, const QString& text) {
    QTextBrowser* browser = BrowserOf(viewer);
    const QTextCursor c = browser->document()->find(text);
    QTextCursor mid(browser->document());
    mid.setPosition((c.selectionStart() + c.selectionEnd()) / 2);
    return browser->viewport()->mapTo(viewer, browser->cursorRect(mid).center());
}

} // namespace carmanual::test
