#pragma once
// The about window, which also stands as the splash while the catalogue loads.

#include <QDialog>

#include <memory>
#include <string>

class QLabel;
class QPushButton;
class QSoundEffect;

namespace vorbix {
class Shell;
}

namespace vorbix::gui {

class TSplashForm : public QDialog {
    Q_OBJECT
public:
    // appDir is where "bbc.wav" is looked for; links are opened through the shell.
    TSplashForm(const std::string& appDir, vorbix::Shell& shell, QWidget* parent = nullptr);
    ~TSplashForm() override;

    static constexpr const char* kWebAddress = "https://example.org/vorbix";
    static constexpr const char* kMailAddress = "vorbix@example.org";
    static constexpr const char* kCredit = "by the Vorbix developers";

    // The borderless splash: no button, no links, the status line shown.
    void ShowAsSplash();
    // The About dialog: caption "About", "Close", the two links; starts "bbc.wav" from its
    // beginning when the file is present.
    void ShowAsAbout();

    // The splash's status line, painted at once.
    void SetStatusLine(const std::string& text);

    // Stops the sound and lets it go once it has finished loading. Qt Multimedia loads a
    // sound on a thread of its own, and a process that ends while it loads can hang or
    // crash in the exit handler of its sample cache; the window calls this before the
    // application object goes.
    void ReleaseSound();

    // How many times the sound was started (the sound device may be absent).
    int SoundStarts() const { return soundStarts_; }
    QSoundEffect* Sound() const { return sound_.get(); }

private:
    void CreateWidgets();
    QLabel* AddText(const char* name, int x, int y, const QString& text);
    QLabel* AddLink(const char* name, int x, int y, const QString& text);
    void PlaySound();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void LinkClick(QLabel* link);

    std::string appDir_;
    vorbix::Shell& shell_;
    QLabel* Label4 = nullptr; // web link
    QLabel* Label5 = nullptr; // mail link
    QLabel* Label6 = nullptr; // the status line while loading
    QPushButton* BitBtn1 = nullptr;
    std::unique_ptr<QSoundEffect> sound_;
    int soundStarts_ = 0;
};

} // namespace vorbix::gui
