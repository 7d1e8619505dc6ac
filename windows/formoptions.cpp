#include "formoptions.h"

#include "qtansi.h"
#include "settingnames.h"
#include "settingsstore.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

namespace carmanual {

namespace {

// The size the dialog was designed at; fonts larger than the designer's only
// make it grow.
constexpr QSize kDesignSize(401, 277);

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Unchecks every button of an exclusive group, which the group itself does
// not allow.
void ClearSelection(QButtonGroup* group) {
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

} // namespace

TFormOptions::TFormOptions(ISettingsStore& store, bool hasPictures, QWidget* parent)
    : QDialog(parent), m_store(store) {
    setWindowTitle(QStringLiteral("Настройки"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(false);

    PageControl = Named(new QTabWidget(this), "PageControl");
    PageControl->addTab(BuildMainSheet(), QStringLiteral("Основные"));
    PageControl->addTab(BuildPicturesSheet(), QStringLiteral("Картинки"));

    ButtonOK = Named(new QPushButton(QStringLiteral("OK"), this), "ButtonOK");
    ButtonOK->setDefault(true);
    ButtonCancel = Named(new QPushButton(QStringLiteral("Отмена"), this), "ButtonCancel");
    connect(ButtonOK, &QPushButton::clicked, this, &TFormOptions::ButtonOKClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TFormOptions::ButtonCancelClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl, 1);
    layout->addLayout(buttons);

    FormCreate(hasPictures);

    // A dialog border: the size is fixed, large enough for the design and for
    // whatever the fonts of this desktop need.
    layout->activate();
    setFixedSize(sizeHint().expandedTo(kDesignSize));
}

TFormOptions::~TFormOptions() = default;

QWidget* TFormOptions::BuildMainSheet() {
    TabSheetMain = Named(new QWidget, "TabSheetMain");

    RadioGroupInterface =
        Named(new QGroupBox(QStringLiteral(" Вариант интерфейса ")), "RadioGroupInterface");
    RBInerf1 = Named(new QRadioButton(QStringLiteral("Автоматический выбор")), "RBInerf1");
    RBInerf2 = Named(new QRadioButton(QStringLiteral("800x600")), "RBInerf2");
    RBInerf3 = Named(new QRadioButton(QStringLiteral("1024x768")), "RBInerf3");
    RBInerf4 = Named(new QRadioButton(QStringLiteral("Произвольный")), "RBInerf4");
    m_interfaceButtons = new QButtonGroup(this);
    auto* radios = new QVBoxLayout(RadioGroupInterface);
    int id = 0;
    for (QRadioButton* radio : {RBInerf1, RBInerf2, RBInerf3, RBInerf4}) {
        m_interfaceButtons->addButton(radio, id++);
        radios->addWidget(radio);
    }
    radios->addStretch(1);
    RBInerf1->setChecked(true);

    Button1 = Named(new QPushButton(QStringLiteral("Шрифт")), "Button1");
    connect(Button1, &QPushButton::clicked, this, &TFormOptions::Button1Click);

    CheckBoxWav = Named(new QCheckBox(QStringLiteral("Озвучка кнопок")), "CheckBoxWav");
    CheckBoxWav->setEnabled(false);
    CheckBoxClip = Named(new QCheckBox(QStringLiteral("Клип при запуске")), "CheckBoxClip");
    CheckBoxClip->setEnabled(false);
    CheckBoxBGSound = Named(new QCheckBox(QStringLiteral("Фоновая музыка")), "CheckBoxBGSound");
    CheckBoxAnimation = Named(new QCheckBox(QStringLiteral("Анимация окон")), "CheckBoxAnimation");
    CheckBoxHint = Named(new QCheckBox(QStringLiteral("Всплывающие подсказки")), "CheckBoxHint");

    auto* right = new QVBoxLayout;
    right->addWidget(Button1, 0, Qt::AlignLeft);
    right->addSpacing(6);
    for (QCheckBox* box :
         {CheckBoxWav, CheckBoxClip, CheckBoxBGSound, CheckBoxAnimation, CheckBoxHint})
        right->addWidget(box);
    // These settings are kept but not offered: the boxes stay in the form,
    // hidden, so that the settings still have their place.
    for (QCheckBox* box : {CheckBoxClip, CheckBoxBGSound, CheckBoxAnimation, CheckBoxHint})
        box->setVisible(false);
    right->addStretch(1);

    auto* sheet = new QHBoxLayout(TabSheetMain);
    sheet->addWidget(RadioGroupInterface, 1);
    sheet->addSpacing(8);
    sheet->addLayout(right, 1);
    return TabSheetMain;
}

QWidget* TFormOptions::BuildPicturesSheet() {
    TabSheetPictures = Named(new QWidget, "TabSheetPictures");

    CheckBoxRunSlideShow =
        Named(new QCheckBox(QStringLiteral("Включить Слайд-шоу")), "CheckBoxRunSlideShow");

    TrackBarSlideShow = Named(new QSlider(Qt::Horizontal), "TrackBarSlideShow");
    TrackBarSlideShow->setRange(MinSlideShowTime, MaxSlideShowTime);
    TrackBarSlideShow->setSingleStep(1);
    TrackBarSlideShow->setPageStep(1);
    TrackBarSlideShow->setTickPosition(QSlider::TicksBelow);
    TrackBarSlideShow->setTickInterval(1);
    TrackBarSlideShow->setValue(1);
    LabelTimeSlideShow = Named(new QLabel, "LabelTimeSlideShow");
    connect(TrackBarSlideShow, &QSlider::valueChanged, this,
            &TFormOptions::TrackBarSlideShowChange);

    RadioGroupImageSequence =
        Named(new QGroupBox(QStringLiteral(" Последовательность ")), "RadioGroupImageSequence");
    m_sequenceButtons = new QButtonGroup(this);
    auto* orders = new QHBoxLayout(RadioGroupImageSequence);
    int id = 0;
    for (const QString& caption : {QStringLiteral("Прямая"), QStringLiteral("Обратная")}) {
        auto* radio = new QRadioButton(caption);
        m_sequenceButtons->addButton(radio, id++);
        orders->addWidget(radio);
    }
    orders->addStretch(1);
    m_sequenceButtons->button(0)->setChecked(true);

    auto* sheet = new QVBoxLayout(TabSheetPictures);
    sheet->addWidget(CheckBoxRunSlideShow);
    sheet->addSpacing(6);
    sheet->addWidget(TrackBarSlideShow);
    sheet->addWidget(LabelTimeSlideShow);
    sheet->addSpacing(6);
    sheet->addWidget(RadioGroupImageSequence);
    sheet->addStretch(1);

    TrackBarSlideShowChange();
    return TabSheetPictures;
}

void TFormOptions::FormCreate(bool hasPictures) {
    PageControl->setCurrentWidget(TabSheetMain);
    PageControl->setTabVisible(PageControl->indexOf(TabSheetPictures), hasPictures);
    m_settings = LoadGeneralSettings(m_store, hasPictures);
    CheckBoxBGSound->setChecked(m_settings.BGSound);
}

void TFormOptions::EnableCheckBoxes(bool startClip, bool buttonSounds) {
    CheckBoxClip->setEnabled(startClip);
    if (!startClip)
        CheckBoxClip->setChecked(false);
    CheckBoxWav->setEnabled(buttonSounds);
    if (!buttonSounds)
        CheckBoxWav->setChecked(false);
}

void TFormOptions::SwitchOffAnimation() {
    m_settings.Animation = false;
    CheckBoxAnimation->setChecked(false);
}

void TFormOptions::SetBGSound(bool on) {
    m_settings.BGSound = on;
    CheckBoxBGSound->setChecked(on);
}

void TFormOptions::WriteBGSound() {
    m_store.WriteBool(settingname::BGSound, m_settings.BGSound);
}

void TFormOptions::ShowOptions() {
    show();
    raise();
    activateWindow();
}

void TFormOptions::showEvent(QShowEvent* event) {
    // A spontaneous show is the window system restoring the dialog; only a
    // show asked for by the program refills the controls.
    if (!event->spontaneous()) {
        if (!m_centred)
            CentreOnScreen();
        FormShow();
    }
    QDialog::showEvent(event);
}

void TFormOptions::CentreOnScreen() {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
    m_centred = true;
}

void TFormOptions::FormShow() {
    ButtonOK->setFocus();
    if (CheckBoxClip->isEnabled())
        CheckBoxClip->setChecked(m_settings.Clip);
    if (CheckBoxWav->isEnabled())
        CheckBoxWav->setChecked(m_settings.Wav);
    CheckBoxAnimation->setChecked(m_settings.Animation);
    CheckBoxHint->setChecked(m_settings.Hint);
    if (QAbstractButton* radio = m_interfaceButtons->button(m_settings.SizeInterface))
        radio->setChecked(true);
    CheckBoxRunSlideShow->setChecked(m_settings.RunSlideShow);
    TrackBarSlideShow->setValue(m_settings.SlideShowTime);
    TrackBarSlideShowChange();
    if (QAbstractButton* radio = m_sequenceButtons->button(m_settings.ImageSequence))
        radio->setChecked(true);
    else
        ClearSelection(m_sequenceButtons);
}

void TFormOptions::TrackBarSlideShowChange() {
    LabelTimeSlideShow->setText(FromAnsi(SlideShowTimeCaption(TrackBarSlideShow->value())));
}

void TFormOptions::ButtonOKClick() {
    QDialog::accept();

    TOptionsChoice choice;
    choice.Clip = CheckBoxClip->isChecked();
    choice.Wav = CheckBoxWav->isChecked();
    choice.SizeInterface = m_interfaceButtons->checkedId();
    choice.RunSlideShow = CheckBoxRunSlideShow->isChecked();
    choice.SlideShowTime = TrackBarSlideShow->value();
    if (const int order = m_sequenceButtons->checkedId(); order >= 0)
        choice.ImageSequence = order;

    const TOptionsOutcome outcome = StoreOptions(m_settings, choice, m_store);
    if (outcome.SlideShowSwitched)
        emit slideShowSwitched(m_settings.RunSlideShow);
    if (outcome.SlideShowTimeChanged)
        emit slideShowIntervalChanged(SlideIntervalMs(m_settings.SlideShowTime));
}

void TFormOptions::ButtonCancelClick() {
    QDialog::reject();
}

void TFormOptions::reject() {
    ButtonCancelClick();
}

void TFormOptions::Button1Click() {
    emit chooseFontsRequested();
}

} // namespace carmanual
