#include "varnopts/window/varn_options_dlg.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <array>
#include <utility>

#include "platform/message.h"
#include "platform/ui/about_menu_entry.h"
#include "platform/ui/busy_window.h"
#include "platform/ui/dialog_builder.h"
#include "platform/ui/qt_message_box.h"
#include "platform/ui/text_codec.h"
#include "platform/wineserver.h"
#include "varnopts/res/dialog_templates.h"
#include "varnopts/res/program_icon.h"
#include "varnopts/res/resource_ids.h"
#include "varnopts/res/string_table.h"
#include "varnopts/settings/game_launch.h"
#include "varnopts/settings/game_value_writer.h"
#include "varnopts/settings/mouse_sensitivity.h"
#include "varnopts/settings/settings_texts.h"
#include "varnopts/window/about_dlg.h"
#include "varnopts/window/accessible_controls.h"

using namespace varnopts::res;
using platform::ui::FromCp1252;

namespace {

constexpr char kGameNotReady[] =
    "Rainbow Six has not been installed properly or has not been run for the first time. "
    "Please install or run Rainbow Six before installing.";

// Run-time captions, in the order they are set.
constexpr std::array<std::pair<int, int>, 14> kCaptions = {{
    {IDC_INSTALL, IDS_INSTALL},
    {IDC_LABEL_SOUND, IDS_SOUND_TYPE},
    {IDC_LABEL_GOCODES, IDS_GOCODES},
    {IDC_GROUP_INSTALL, IDS_INSTALL_OPTIONS},
    {IDOK, IDS_EXIT},
    {IDC_HELP_BUTTON, IDS_HELP},
    {IDC_START_R6, IDS_START_R6},
    {IDC_GROUP_MOUSE, IDS_MOUSE_SENSITIVITY},
    {IDC_LABEL_LOW, IDS_LOW},
    {IDC_LABEL_HIGH, IDS_HIGH},
    {IDC_RESET, IDS_RESET},
    {IDC_SAVE_MOUSE, IDS_SAVE_MOUSE},
    {IDC_ABOUT, IDS_ABOUT},
    {IDC_START_EW, IDS_START_EW},
}};

// Adds an entry as a list box adds one: at the end, or for a sorted list
// before the first entry that compares greater, ignoring letter case.
void AddString(QComboBox* combo, const QString& text, bool sorted) {
    int position = combo->count();
    if (sorted) {
        for (int i = 0; i < combo->count(); ++i) {
            if (QString::compare(text, combo->itemText(i), Qt::CaseInsensitive) < 0) {
                position = i;
                break;
            }
        }
    }
    combo->insertItem(position, text);
}

void SetText(QWidget* control, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    }
}

// A save that takes longer than this says so in a panel.
constexpr int kSlowSaveMilliseconds = 400;
// How often a game just started is looked at.
constexpr int kGameWatchMilliseconds = 100;

}  // namespace

CVarnOptionsDlg::CVarnOptionsDlg(const platform::WinePrefix& prefix, QWidget* parent)
    : QDialog(parent), prefix_(prefix), icon_(ProgramIcon()) {
    setObjectName(QStringLiteral("IDD_VARNOPTIONS_DIALOG"));
    // A modal frame with the window menu, a minimise box and the close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    builder_ = platform::ui::DialogBuilder::Build(this, OptionsDialogTemplate());
    m_comboQuickWeapon = builder_->Control<QComboBox>(IDC_COMBO_QUICK_WEAPON);
    m_btnStartEW = builder_->Control<QPushButton>(IDC_START_EW);
    m_sliderMouse = builder_->Control<QSlider>(IDC_SLIDER_MOUSE);
    m_sliderMouse->setTickPosition(QSlider::NoTicks);

    connect(Button(IDOK), &QPushButton::clicked, this, &CVarnOptionsDlg::OnOK);
    connect(Button(IDC_INSTALL), &QPushButton::clicked, this, &CVarnOptionsDlg::OnInstall);
    connect(Button(IDC_HELP_BUTTON), &QPushButton::clicked, this, &CVarnOptionsDlg::OnHelpButton);
    connect(Button(IDC_RESET), &QPushButton::clicked, this, &CVarnOptionsDlg::OnReset);
    connect(Button(IDC_SAVE_MOUSE), &QPushButton::clicked, this, &CVarnOptionsDlg::OnSave);
    connect(Button(IDC_START_R6), &QPushButton::clicked, this, &CVarnOptionsDlg::OnStartR6);
    connect(Button(IDC_ABOUT), &QPushButton::clicked, this, &CVarnOptionsDlg::OnAbout);
    connect(m_btnStartEW, &QPushButton::clicked, this, &CVarnOptionsDlg::OnStartEW);
    connect(Button(IDC_UNINSTALL_ALL), &QPushButton::clicked, this,
            &CVarnOptionsDlg::OnUninstallAll);
    gameWatch_ = new QTimer(this);
    gameWatch_->setInterval(kGameWatchMilliseconds);
    connect(gameWatch_, &QTimer::timeout, this, &CVarnOptionsDlg::WatchGameStarts);
}

QComboBox* CVarnOptionsDlg::ComboBox(int id) const {
    return builder_->Control<QComboBox>(id);
}

QPushButton* CVarnOptionsDlg::Button(int id) const {
    return builder_->Control<QPushButton>(id);
}

BOOL CVarnOptionsDlg::OnInitDialog() {
    ended_ = false;
    platform::ui::SetMessageOwner(this);
    AddAboutMenuEntry();
    setWindowIcon(icon_);
    LoadTexts();
    SetCaptions();
    varnopts::DescribeControls(*this, *m_sliderMouse);

    if (!varnopts::ReadGamePaths(prefix_, paths_)) {
        platform::ShowMessage(kGameNotReady, std::string(varnopts::kCaptionOptions),
                              platform::MB_ICONHAND);
        ended_ = true;
        done(IDCANCEL);
        return false;
    }

    FillLists();

    m_sliderMouse->setRange(varnopts::kMinSensitivityPosition, varnopts::kMaxSensitivityPosition);
    // A trackbar's own page size: a fifth of its range.
    m_sliderMouse->setPageStep(
        (varnopts::kMaxSensitivityPosition - varnopts::kMinSensitivityPosition) / 5);
    m_sliderMouse->setValue(varnopts::SensitivityToPosition(paths_.m_strMouseRadiansPerPixel));

    m_strGameFolder = paths_.m_strInstallationPath;

    if (varnopts::IsEagleWatchInstalled(prefix_)) {
        m_btnStartEW->setEnabled(true);
    }
    // The first control of the tab order has the focus when the window opens.
    Button(IDOK)->setFocus(Qt::OtherFocusReason);
    return true;
}

int CVarnOptionsDlg::DoModal() {
    if (!OnInitDialog() || ended_) {
        return result();
    }
    return exec();
}

void CVarnOptionsDlg::AddAboutMenuEntry() {
    if (aboutAction_ == nullptr) {
        aboutAction_ =
            platform::ui::AddAboutMenuEntry(*this, FromCp1252(LoadResourceString(IDS_ABOUTBOX)),
                                            IDM_ABOUTBOX, [this] { OnAbout(); });
    }
}

void CVarnOptionsDlg::LoadTexts() {
    static constexpr std::array<int, 24> kEntries = {IDS_MP_TANGO,
                                                     IDS_MP_PISTOLS,
                                                     IDS_SOUND_HIGH,
                                                     IDS_SOUND_LOW,
                                                     IDS_GOCODES_MULTIPLAYER,
                                                     IDS_GOCODES_ORIGINAL,
                                                     IDS_ERROR_GAME_KEY,
                                                     IDS_ERROR_OPENING,
                                                     IDS_FAILED_TO_START,
                                                     IDS_REGISTRY_KEY,
                                                     IDS_INSTALL,
                                                     IDS_SOUND_TYPE,
                                                     IDS_GOCODES,
                                                     IDS_INSTALL_OPTIONS,
                                                     IDS_EXIT,
                                                     IDS_HELP,
                                                     IDS_START_R6,
                                                     IDS_MOUSE_SENSITIVITY,
                                                     IDS_LOW,
                                                     IDS_HIGH,
                                                     IDS_RESET,
                                                     IDS_SAVE_MOUSE,
                                                     IDS_ABOUT,
                                                     IDS_START_EW};
    for (const int entry : kEntries) {
        texts_[entry] = FromCp1252(LoadResourceString(entry));
    }
}

void CVarnOptionsDlg::SetCaptions() {
    for (const auto& [control, entry] : kCaptions) {
        SetText(builder_->Control(control), texts_[entry]);
    }
}

void CVarnOptionsDlg::FillLists() {
    QComboBox* serverMode = ComboBox(IDC_COMBO_MP_MODE);
    serverMode->clear();
    AddString(serverMode, QStringLiteral("Default"), false);
    AddString(serverMode, texts_[IDS_MP_TANGO], false);
    AddString(serverMode, texts_[IDS_MP_PISTOLS], false);
    AddString(serverMode, QStringLiteral("9mm Only"), false);
    serverMode->setCurrentIndex(0);

    m_comboQuickWeapon->clear();
    for (const char* entry :
         {"Team VARN - Rainbow", "Team VARN - Assault", "Team VARN - Recon/Recce",
          "Team VARN - Heavy Support", "Team VARN - Tango", "Multiplayer Only - All"}) {
        AddString(m_comboQuickWeapon, QString::fromLatin1(entry), false);
    }
    m_comboQuickWeapon->setCurrentIndex(0);

    QComboBox* sound = ComboBox(IDC_COMBO_SOUND);
    sound->clear();
    AddString(sound, texts_[IDS_SOUND_HIGH], true);
    AddString(sound, texts_[IDS_SOUND_LOW], true);
    sound->setCurrentIndex(0);

    QComboBox* goCodes = ComboBox(IDC_COMBO_GOCODES);
    goCodes->clear();
    AddString(goCodes, texts_[IDS_GOCODES_MULTIPLAYER], true);
    AddString(goCodes, texts_[IDS_GOCODES_ORIGINAL], true);
    goCodes->setCurrentIndex(0);
}

int CVarnOptionsDlg::QuickWeaponPosition() const {
    const QString typed = m_comboQuickWeapon->currentText();
    const int current = m_comboQuickWeapon->currentIndex();
    if (current >= 0 && m_comboQuickWeapon->itemText(current) == typed) {
        return current;
    }
    // Text typed into the edit field selects the entry it names, if any.
    return m_comboQuickWeapon->findText(typed, Qt::MatchFixedString);
}

void CVarnOptionsDlg::OnOK() {
    done(IDOK);
}

void CVarnOptionsDlg::OnCancel() {
    done(IDCANCEL);
}

void CVarnOptionsDlg::reject() {
    OnCancel();
}

void CVarnOptionsDlg::OnHelpButton() {
    // A folder such as %ProgramFiles%\VARN is expanded from the registry,
    // through Wine's reg tool while a wineserver runs.
    const platform::ui::BusyWindow busy(this);
    varnopts::OpenReadMe(prefix_, paths_.m_strModFolder);
}

void CVarnOptionsDlg::OnReset() {
    m_sliderMouse->setValue(varnopts::kDefaultSensitivityPosition);
}

void CVarnOptionsDlg::OnSave() {
    // Only while a server runs does the value go through Wine.
    if (platform::IsWineserverRunning(prefix_.folder) && !wineConsent_.MayRunWine(prefix_)) {
        return;
    }
    const std::string text = varnopts::PositionToSensitivity(m_sliderMouse->value());
    // While a wineserver runs, the value goes through Wine's reg tool, which
    // can take seconds on a prefix whose server has just started.
    platform::ui::BusyWindow busy(this);
    busy.ShowStatus(tr("Saving the mouse sensitivity"), kSlowSaveMilliseconds);
    // A failure has shown its message; the slider stays where it is.
    (void)varnopts::WriteGameValue(prefix_, varnopts::kMouseRadiansPerPixel, text);
}

void CVarnOptionsDlg::StartGame(std::string_view program) {
    if (!varnopts::CheckGameMayStart(prefix_, m_strGameFolder, program) ||
        !wineConsent_.MayRunWine(prefix_)) {
        return;
    }
    std::unique_ptr<varnopts::GameStart> start;
    {
        const platform::ui::BusyWindow busy(this);  // as Help: the folder may be expanded
        start = varnopts::StartGameProgram(prefix_, m_strGameFolder, program);
    }
    if (start) {
        gameStarts_.push_back(std::move(start));
        gameWatch_->start();
    }
}

void CVarnOptionsDlg::WatchGameStarts() {
    // A failure's message runs its own event loop, in which this timer may
    // fire again: the list is taken out while it is looked at.
    auto starts = std::exchange(gameStarts_, {});
    std::erase_if(starts, [this](const auto& start) { return start->Poll(prefix_); });
    std::move(gameStarts_.begin(), gameStarts_.end(), std::back_inserter(starts));
    gameStarts_ = std::move(starts);
    if (gameStarts_.empty()) {
        gameWatch_->stop();
    } else {
        gameWatch_->start();  // a call inside a message's loop may have stopped it
    }
}

void CVarnOptionsDlg::OnStartR6() {
    StartGame(varnopts::kRainbowSixExe);
}

void CVarnOptionsDlg::OnStartEW() {
    StartGame(varnopts::kRainbowSixMpExe);
}

void CVarnOptionsDlg::OnAbout() {
    CAboutDlg about(icon_, this);
    about.exec();
}
