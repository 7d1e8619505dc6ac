#pragma once
// A manual folder on disk, a main window and recording doubles for everything
// the page panel hands over, so each test sees what a link or command did.

#include "htmlframe.h"
#include "shellopen.h"
#include "statusline.h"
#include "textmsg.h"

#include "ansi.h"
#include "archive.h"
#include "frameviewer.h"
#include "paths.h"
#include "settingsstore.h"
#include "tempdir.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace carmanual::test {

inline std::string Ansi(const char* utf8) {
    return Utf8ToAnsi(utf8);
}

// Records what the panel asked the desktop to open or start.
class TRecordingShell final : public IShellOpen {
public:
    explicit TRecordingShell(std::vector<std::string>& log) : m_log(log) {}
    bool Open(const QString& target, const QStringList& parameters,
              const QString& workingDir) override {
        m_log.push_back(
            ("open:" + target + "|" + parameters.join(QLatin1Char(',')) + "|" + workingDir)
                .toStdString());
        return true;
    }

private:
    std::vector<std::string>& m_log;
};

inline const char* kProgramFile = "/opt/carmanual/carmanual";

class PanelTest : public ::testing::Test {
protected:
    PanelTest() : m_shell(m_log) {
        InitProgramPaths(m_dir.Path());
        TheArchive().Close();
        m_window.resize(800, 600);
        m_window.show();
        RText field;
        field.Ident = "statusline";
        field.Number = 5;
        m_fields = std::make_unique<TTextMsg>(TDynamicTextArray{field}, &m_window);
        m_status = std::make_unique<TStatusLine>(m_fields.get());
    }

    // Writes a file of the manual ('/' between parts) and gives its manual name.
    std::string Write(const std::string& relative, const std::string& bytes) {
        m_dir.Write(relative, bytes);
        std::string name = "c:\\" + relative;
        for (char& c : name)
            if (c == '/')
                c = '\\';
        return name;
    }
    // A page with a title and a body.
    std::string WritePage(const std::string& relative, const std::string& body) {
        return Write(relative, "<html><head><title>" + relative + "</title></head><body>" + body +
                                   "</body></html>");
    }
    std::filesystem::path Root() const { return ManualRootFolder(); }
    std::string Native(const std::string& relative) const { return (Root() / relative).string(); }

    THtmlFrameServices Services() {
        THtmlFrameServices s;
        s.MainWindow = &m_window;
        s.Settings = &m_store;
        s.Shell = &m_shell;
        s.StatusLine = m_status.get();
        s.CurrentScreen = [this] { return m_screen; };
        s.CurrentPathBoxFolder = [this]() -> std::optional<std::string> { return m_pathBox; };
        s.OnLinkStatus = [this](const QString& text) { m_linkStatus = text.toStdString(); };
        s.OnPrintPreview = [this](const TPrintRequest& r) {
            m_log.push_back("print:" + r.Document->CurrentDocument() + "|" +
                            (r.PicturePage ? "picture" : "page") + "|" + std::to_string(r.Width) +
                            "x" + std::to_string(r.Height));
        };
        s.OnOpenArchiveListing = [this](const std::string& archive, const std::string& origin) {
            m_log.push_back("rar:" + archive + "|" + origin);
        };
        s.OnExtractListedArchive = [this] { m_log.push_back("extract"); };
        s.OnPlaySound = [this](const std::string& file) { m_log.push_back("wav:" + file); };
        s.OnQueryPictureWindow = [this](const WindowHandle&, const std::string& document) {
            m_log.push_back("query:" + document);
            return m_pictureWindowAccepts;
        };
        s.OnHidePopups = [this] { m_log.push_back("hidepopups"); };
        s.OnContextPopup = [this](QPoint p) {
            m_log.push_back("popup:" + std::to_string(p.x()) + "," + std::to_string(p.y()));
        };
        s.OnEnterKey = [this] { m_log.push_back("enter"); };
        s.ChooseSaveFile = [this](QWidget*, const QString& start, const QString& filter) {
            m_log.push_back("save:" + start.toStdString() + "|" + filter.toStdString());
            return m_saveAs;
        };
        s.ProgramFile = QString::fromLatin1(kProgramFile);
        return s;
    }

    std::unique_ptr<THtmlFrame> Build(const TDynamicHtmlArray& elements) {
        return BuildHtmlFrame(elements, Services());
    }

    static RHTML Element(int left, int top, int right, int bottom, const std::string& file,
                         int number, int screen) {
        RHTML e;
        e.Left = left;
        e.Top = top;
        e.Right = right;
        e.Bottom = bottom;
        e.File = file;
        e.Number = number;
        e.Screen = screen;
        return e;
    }

    TempDir m_dir;
    QWidget m_window;
    TMemorySettingsStore m_store;
    std::vector<std::string> m_log;
    TRecordingShell m_shell;
    std::unique_ptr<TTextMsg> m_fields;
    std::unique_ptr<TStatusLine> m_status;
    int m_screen = 0;
    std::optional<std::string> m_pathBox;
    std::string m_linkStatus = "<none>";
    bool m_pictureWindowAccepts = false;
    QString m_saveAs;
};

} // namespace carmanual::test
