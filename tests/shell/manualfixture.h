#pragma once
// A small manual on disk for the window tests: solid-colour pictures, a
// description in Windows-1251 with CR LF line ends, and recording doubles of
// the sound and shell seams.

#include "ansi.h"
#include "archive.h"
#include "mainform.h"
#include "paths.h"
#include "settingsstore.h"
#include "shellopen.h"
#include "sound.h"
#include "tempdir.h"

#include <QImage>

#include <memory>
#include <string>
#include <vector>

namespace carmanual::test {

class RecordingSound final : public ISoundPlayer {
public:
    void PlayAsync(std::string_view name) override { played.emplace_back(name); }
    void PlaySync(std::string_view name) override { playedSync.emplace_back(name); }
    std::vector<std::string> played, playedSync;
};

class RecordingShell final : public IShellOpen {
public:
    struct Call {
        QString target;
        QStringList parameters;
        QString workingDir;
    };
    bool Open(const QString& target, const QStringList& parameters,
              const QString& workingDir) override {
        calls.push_back({target, parameters, workingDir});
        return true;
    }
    std::vector<Call> calls;
};

// A store shared by the successive windows of one test, as the real store
// outlives a run of the program.
class SharedStore final : public ISettingsStore {
public:
    explicit SharedStore(std::shared_ptr<TMemorySettingsStore> s) : m_s(std::move(s)) {}
    std::optional<bool> ReadBool(const std::string& n) const override { return m_s->ReadBool(n); }
    bool WriteBool(const std::string& n, bool v) override { return m_s->WriteBool(n, v); }
    std::optional<std::int32_t> ReadInteger(const std::string& n) const override {
        return m_s->ReadInteger(n);
    }
    bool WriteInteger(const std::string& n, std::int32_t v) override {
        return m_s->WriteInteger(n, v);
    }
    std::optional<std::string> ReadString(const std::string& n) const override {
        return m_s->ReadString(n);
    }
    bool WriteString(const std::string& n, const std::string& v) override {
        return m_s->WriteString(n, v);
    }
    bool DeleteValue(const std::string& n) override { return m_s->DeleteValue(n); }
    bool ValueExists(const std::string& n) const override { return m_s->ValueExists(n); }

private:
    std::shared_ptr<TMemorySettingsStore> m_s;
};

// Colours of the fixture's pictures, one per picture so a screenshot tells
// which one is shown.
inline const QColor kBackground1(20, 20, 20), kBackground2(40, 40, 90);
inline const QColor kUp(200, 0, 0), kMove(0, 200, 0), kDown(0, 0, 200);
inline const QColor kSwOff(100, 100, 0), kSwOffHover(150, 150, 0), kSwOnHover(0, 150, 150),
    kSwOn(0, 100, 100);

inline std::string Crlf(const std::vector<std::string>& utf8Lines) {
    std::string out;
    for (const std::string& line : utf8Lines)
        out += Utf8ToAnsi(line) + "\r\n";
    return out;
}

class ManualFixture {
public:
    explicit ManualFixture(const std::string& utf8Title) : title(utf8Title) {
        auto picture = [this](const char* name, QColor c, int w, int h) {
            QImage img(w, h, QImage::Format_RGB32);
            img.fill(c);
            img.save(QString::fromStdString((dir.Path() / name).string()), "BMP");
        };
        picture("bg1.bmp", kBackground1, 200, 150);
        picture("bg2.bmp", kBackground2, 200, 150);
        picture("up.bmp", kUp, 30, 20);
        picture("mv.bmp", kMove, 30, 20);
        picture("dn.bmp", kDown, 30, 20);
        picture("s1.bmp", kSwOff, 30, 20);
        picture("s2.bmp", kSwOffHover, 30, 20);
        picture("s3.bmp", kSwOnHover, 30, 20);
        picture("s4.bmp", kSwOn, 30, 20);
        picture("min.bmp", QColor(90, 90, 90), 8, 8);
        dir.Write("click.wav", "RIFF");
        auto page = [this](const char* name, const char* title) {
            dir.Write(name,
                      Utf8ToAnsi(std::string("<html><head><meta charset=\"windows-1251\"><title>") +
                                 title + "</title></head><body><p>" + title +
                                 "</p><a href=\"p2.htm\">дальше</a></body></html>"));
        };
        page("p1.htm", "Тормоза");
        page("p2.htm", "Колодки");
        dir.Write("Title.txt", Crlf({"", "Старое название", title, ""}));
        structLines = {
            "vertexmain=[0,0;200,0;200,150;0,150]",
            "minimize vx=170 vy=2 fn1=min.bmp;fn2=min.bmp;fn3=min.bmp;hint=Свернуть;wav=no",
            "close vx=185 vy=2 fn1=min.bmp;fn2=min.bmp;fn3=min.bmp;hint=Выход;wav=no",
            "1 button vx=10 vy=10 fn1=up.bmp;fn2=mv.bmp;fn3=dn.bmp;go=2;hint=Дальше;wav=click.wav",
            "1 switchone vx=10 vy=50 fn1=s1.bmp;fn2=s2.bmp;fn3=s3.bmp;fn4=s4.bmp;state=off;"
            "store=on;goup=run=off.sh;godown=run=on.sh;hint=Ключ;wav=no",
            "1 switchgrp vx=60 vy=50 fn1=s1.bmp;fn2=s2.bmp;fn3=s3.bmp;fn4=s4.bmp;state=on;"
            "store=on;group=1;go=run=a.sh;hint=А;wav=no",
            "1 switchgrp vx=100 vy=50 fn1=s1.bmp;fn2=s2.bmp;fn3=s3.bmp;fn4=s4.bmp;state=off;"
            "store=on;group=1;go=run=b.sh;hint=Б;wav=no",
            "1 button vx=10 vy=100 "
            "fn1=up.bmp;fn2=mv.bmp;fn3=dn.bmp;go=exit;hint=Выход;wav=click.wav",
            "1 _screen=bg1.bmp",
            "2 button vx=10 vy=10 fn1=up.bmp;fn2=mv.bmp;fn3=dn.bmp;go=1;hint=Назад;wav=no",
            "2 _html vx=50 vy=40 vw=190 vh=140 fn=p1.htm; number=1",
            "2 _text vx=50 vy=2 vw=160 font=dejavu sans; size=8; style=bold; color=255,255,255; "
            "value=; ident=title; number=1",
            "2 _screen=bg2.bmp",
        };
        WriteStruct();
        InitProgramPaths(dir.Path());
        TheArchive().Close();
    }

    // More elements for the description, written at once.
    void AddStructLines(const std::vector<std::string>& lines) {
        structLines.insert(structLines.end(), lines.begin(), lines.end());
        WriteStruct();
    }
    void WriteStruct() { dir.Write("Struct.txt", Crlf(structLines)); }

    std::unique_ptr<TMainForm> NewForm() {
        TMainServices services;
        services.Sound = &sound;
        services.Shell = &shell;
        services.OpenSettings = [store = store](const std::string&) {
            return std::unique_ptr<ISettingsStore>(new SharedStore(store));
        };
        return std::make_unique<TMainForm>(services);
    }

    std::string title;
    std::vector<std::string> structLines;
    TempDir dir;
    RecordingSound sound;
    RecordingShell shell;
    std::shared_ptr<TMemorySettingsStore> store = std::make_shared<TMemorySettingsStore>();
};

} // namespace carmanual::test
