#pragma once
// The options dialog ("Настройки"). It owns the general settings: creating it
// loads them from the store (writing back the defaults it had to use), the
// rest of the program reads them through Settings() from then on, and OK
// stores what the user changed. It is created once at start-up, shown
// modelessly by the "options" command, and only hidden afterwards.
//
// The slide show and the page font dialog are not the dialog's own: it asks
// for them through its signals, and an unconnected signal does nothing.

#include "generalsettings.h"

#include <QDialog>
#include <QString>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QShowEvent;
class QSlider;
class QTabWidget;
class QWidget;

namespace carmanual {

class TFormOptions final : public QDialog {
    Q_OBJECT

public:
    // store must outlive the dialog. hasPictures: the interface has image
    // elements; without them the "Картинки" tab is hidden and the slide-show
    // values are neither read nor written.
    TFormOptions(ISettingsStore& store, bool hasPictures, QWidget* parent = nullptr);
    ~TFormOptions() override;
    Q_DISABLE_COPY_MOVE(TFormOptions)

    const TGeneralSettings& Settings() const { return m_settings; }

    // After the interface is read: the start-clip box is enabled when a start
    // clip is described, the button-sound box when any button has a click
    // sound. A disabled box stays unchecked, so OK stores its setting as off.
    void EnableCheckBoxes(bool startClip, bool buttonSounds);

    // Changes for the rest of the run that are not stored: the end of
    // start-up switches window animations off; music is switched off when the
    // interface lists no songs and by the clip player while a clip plays.
    void SwitchOffAnimation();
    void SetBGSound(bool on);
    // Writes the current music setting as "BGSound" (the "bgsound" command);
    // a failing write is ignored.
    void WriteBGSound();

    // The "options" command: shows the dialog modelessly with the current
    // settings, or brings it to the front when it is already shown.
    void ShowOptions();

    // The form's handlers, named after their controls.
    void FormShow();
    void TrackBarSlideShowChange();
    void ButtonOKClick();
    void ButtonCancelClick();
    void Button1Click();

signals:
    // OK switched the slide show on or off: the slide timer follows it.
    void slideShowSwitched(bool on);
    // OK changed the slide time: the slide timer takes this interval.
    void slideShowIntervalChanged(int milliseconds);
    // "Шрифт": the page font dialog is wanted.
    void chooseFontsRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void FormCreate(bool hasPictures);
    QWidget* BuildMainSheet();
    QWidget* BuildPicturesSheet();
    void CentreOnScreen();

    ISettingsStore& m_store;
    TGeneralSettings m_settings;
    bool m_centred = false;

    QTabWidget* PageControl = nullptr;
    QWidget* TabSheetMain = nullptr;
    QWidget* TabSheetPictures = nullptr;

    QGroupBox* RadioGroupInterface = nullptr;
    QButtonGroup* m_interfaceButtons = nullptr;
    QRadioButton* RBInerf1 = nullptr;
    QRadioButton* RBInerf2 = nullptr;
    QRadioButton* RBInerf3 = nullptr;
    QRadioButton* RBInerf4 = nullptr;
    QPushButton* Button1 = nullptr;
    QCheckBox* CheckBoxWav = nullptr;
    QCheckBox* CheckBoxClip = nullptr;
    QCheckBox* CheckBoxBGSound = nullptr;
    QCheckBox* CheckBoxAnimation = nullptr;
    QCheckBox* CheckBoxHint = nullptr;

    QCheckBox* CheckBoxRunSlideShow = nullptr;
    QSlider* TrackBarSlideShow = nullptr;
    QLabel* LabelTimeSlideShow = nullptr;
    QGroupBox* RadioGroupImageSequence = nullptr;
    QButtonGroup* m_sequenceButtons = nullptr;

    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonCancel = nullptr;
};

} // namespace carmanual
