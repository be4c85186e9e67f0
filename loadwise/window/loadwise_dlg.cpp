#include "loadwise/window/loadwise_dlg.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>

#include "loadwise/kitdata/item_list_reader.h"
#include "loadwise/kitdata/item_names.h"
#include "loadwise/kitdata/kit_list_writer.h"
#include "loadwise/kitdata/kitdata_messages.h"
#include "loadwise/kitdata/rating.h"
#include "loadwise/kitdata/read_only_files.h"
#include "loadwise/kitdata/selected_count.h"
#include "loadwise/res/dialog_templates.h"
#include "loadwise/res/program_icon.h"
#include "loadwise/res/resource_ids.h"
#include "loadwise/res/string_table.h"
#include "loadwise/window/about_dlg.h"
#include "loadwise/window/check_list_ctrl.h"
#include "platform/message.h"
#include "platform/ui/about_menu_entry.h"
#include "platform/ui/dialog_builder.h"
#include "platform/ui/qt_message_box.h"
#include "platform/ui/text_codec.h"
#include "platform/ui/wait_cursor.h"

using loadwise::CCheckListCtrl;

namespace {

constexpr char kCaption[] = "Loadwise for Rainbow Six : Eagle Watch";
constexpr std::array<const char*, kitdata::kTabCount> kTabNames = {"Primary", "Secondary",
                                                                   "Special"};
constexpr std::array<int, kitdata::kTabCount> kListIds = {
    loadwise::IDC_LIST_PRIMARY, loadwise::IDC_LIST_SECONDARY, loadwise::IDC_LIST_SPECIAL};

}  // namespace

CLoadwiseDlg::CLoadwiseDlg(const platform::WinePrefix& prefix, QWidget* parent)
    : QDialog(parent), prefix_(prefix), icon_(loadwise::ProgramIcon()) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    builder_ = platform::ui::DialogBuilder::Build(
        this, loadwise::LoadwiseDialogTemplate(),
        [](const platform::ui::ControlTemplate& control, QWidget* owner) -> QWidget* {
            if (control.kind == platform::ui::ControlKind::ListView) {
                return new CCheckListCtrl(owner);
            }
            return nullptr;
        });

    m_btnSave = builder_->Control<QPushButton>(loadwise::IDOK);
    m_stcCount = builder_->Control<QLabel>(loadwise::IDC_SELECTED_COUNT);
    m_tabKit = builder_->Control<QTabWidget>(loadwise::IDC_KIT_TAB);
    editDescription_ = builder_->Control<QPlainTextEdit>(loadwise::IDC_DESCRIPTION);
    checkMultiplayerOnly_ = builder_->Control<QCheckBox>(loadwise::IDC_MULTIPLAYER_ONLY);
    for (int tab = 0; tab < kitdata::kTabCount; ++tab) {
        m_pList[tab] = builder_->Control<CCheckListCtrl>(kListIds[tab]);
    }
    // No button is the default one, so Return elsewhere (in a list, say)
    // neither saves nor ends the window; keyPressEvent lets it press the
    // focused button. (Auto-default buttons would make the first of them the
    // default as soon as the window shows.)
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
    }
    // Names for screen readers where a control has no text of its own.
    static constexpr std::array<const char*, kitdata::kTabCount> kListNames = {
        "Primary items", "Secondary items", "Special items"};
    for (int tab = 0; tab < kitdata::kTabCount; ++tab) {
        m_pList[tab]->setAccessibleName(QString::fromLatin1(kListNames[tab]));
    }
    editDescription_->setAccessibleName(QStringLiteral("Item description"));
    m_stcCount->setAccessibleName(QStringLiteral("Selected"));
    // Clicking a tab gives it the focus.
    m_tabKit->tabBar()->setFocusPolicy(Qt::StrongFocus);

    connect(m_btnSave, &QPushButton::clicked, this, &CLoadwiseDlg::OnOK);
    connect(builder_->Control<QPushButton>(loadwise::IDCANCEL), &QPushButton::clicked, this,
            &QDialog::reject);
    connect(m_tabKit, &QTabWidget::currentChanged, this, &CLoadwiseDlg::OnSelchangeKitTab);
    for (CCheckListCtrl* list : m_pList) {
        connect(list, &CCheckListCtrl::Clicked, this, &CLoadwiseDlg::OnClickList);
        connect(list, &CCheckListCtrl::CurrentRowMoved, this, &CLoadwiseDlg::ShowDescription);
    }
    connect(builder_->Control<QPushButton>(loadwise::IDC_SELECT_ALL), &QPushButton::clicked, this,
            &CLoadwiseDlg::OnSelectAll);
    connect(builder_->Control<QPushButton>(loadwise::IDC_UNSELECT_ALL), &QPushButton::clicked, this,
            &CLoadwiseDlg::OnUnselectAll);
    connect(builder_->Control<QPushButton>(loadwise::IDC_ABOUT), &QPushButton::clicked, this,
            &CLoadwiseDlg::OnAbout);
    connect(checkMultiplayerOnly_, &QCheckBox::clicked, this, &CLoadwiseDlg::OnMultiplayerOnly);
}

CLoadwiseDlg::~CLoadwiseDlg() = default;

int CLoadwiseDlg::DoModal() {
    OnInitDialog();
    return exec();
}

BOOL CLoadwiseDlg::OnInitDialog() {
    if (initialised_) {
        return 1;
    }
    initialised_ = true;
    platform::ui::SetMessageOwner(this);

    UpdateData(false);
    platform::ui::AddAboutMenuEntry(
        *this, platform::ui::FromCp1252(loadwise::LoadResourceString(loadwise::IDS_ABOUTBOX)),
        loadwise::IDM_ABOUTBOX, [this] { OnAbout(); });
    setWindowIcon(icon_);
    setWindowTitle(QString::fromLatin1(kCaption));

    ReadGamePaths();
    // Without the game's folders there is nothing to read or make writable:
    // the lists stay empty and the lookup's own message says why.
    if (paths_.allPathsRead) {
        ClearReadOnlyFiles();
    }
    for (CCheckListCtrl* list : m_pList) {
        list->InitCheckList();
    }
    if (paths_.allPathsRead) {
        LoadItemNames();
    }
    for (int tab = 0; tab < kitdata::kTabCount; ++tab) {
        FillItemList(tab);
    }
    if (!startupProblems_.empty()) {
        platform::ShowMessage(kitdata::StartupProblemsMessage(startupProblems_),
                              kitdata::kMessageCaption, platform::MB_OK | platform::MB_ICONHAND);
    }

    ShowList(kitdata::kPrimaryTab);
    m_nCurTab = kitdata::kPrimaryTab;
    {
        // The tabs are added before anything may react to a tab change.
        const QSignalBlocker blocker(m_tabKit);
        for (const char* name : kTabNames) {
            m_tabKit->addTab(new QWidget, QString::fromLatin1(name));
        }
        m_tabKit->setCurrentIndex(kitdata::kPrimaryTab);
    }
    m_bTabValid.fill(true);
    UpdateSelectedCount(kitdata::kPrimaryTab);

    // The first control that takes the focus gets it.
    QWidget* first = m_btnSave->isEnabled() ? static_cast<QWidget*>(m_btnSave)
                                            : builder_->Control(loadwise::IDCANCEL);
    first->setFocus();
    return 1;
}

void CLoadwiseDlg::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (enter && button != nullptr && button->isEnabled() &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CLoadwiseDlg::ReadGamePaths() {
    paths_ = kitdata::ReadGamePaths(prefix_);
    m_bDevMode = paths_.m_bDevMode;
}

void CLoadwiseDlg::ClearReadOnlyFiles() {
    for (platform::Error& problem : kitdata::ClearKitFilesReadOnly(prefix_, paths_)) {
        startupProblems_.push_back(std::move(problem));
    }
}

void CLoadwiseDlg::LoadItemNames() {
    auto names = kitdata::LoadItemNames(prefix_, paths_);
    if (names.ok()) {
        m_astrNames = std::move(names).value();
    } else {
        startupProblems_.push_back(names.error());
    }
}

void CLoadwiseDlg::FillItemList(int tab) {
    kitdata::ItemList items;
    if (paths_.allPathsRead) {
        items = kitdata::FillItemList(prefix_, paths_, m_astrNames, tab);
    } else {
        items.columns = kitdata::ItemColumns(tab, m_bDevMode);
    }
    CCheckListCtrl& list = *m_pList[tab];
    for (const kitdata::ItemColumn& column : items.columns) {
        list.AddColumn(column.heading, column.type);
    }
    std::vector<std::string> ratingWords;
    for (std::string_view word : kitdata::RatingWords()) {
        ratingWords.emplace_back(word);
    }
    for (int column = 0; column < static_cast<int>(items.columns.size()); ++column) {
        list.SetColumnWidth(column, items.columns[column].width);
        if (items.columns[column].ratingWords) {
            list.FitColumnTo(column, ratingWords);
        }
    }
    for (const kitdata::ItemRow& item : items.rows) {
        const int row = list.AddRow(item.cells.empty() ? std::string() : item.cells[0]);
        for (int column = 1; column < static_cast<int>(item.cells.size()); ++column) {
            list.SetCellText(row, column, item.cells[column]);
        }
        list.SetCheck(row, item.checked);
    }
    if (items.readError) {
        startupProblems_.push_back(*items.readError);
    }
}

void CLoadwiseDlg::ShowList(int tab) {
    m_pList[tab]->raise();
    for (int other = 0; other < kitdata::kTabCount; ++other) {
        if (other != tab) {
            m_pList[other]->hide();
        }
    }
    m_pList[tab]->show();
    m_pList[tab]->viewport()->update();
}

void CLoadwiseDlg::UpdateData(bool saveAndValidate) {
    if (saveAndValidate) {
        m_strDescription = platform::ui::ToCp1252(editDescription_->toPlainText());
        m_bMultiplayerOnly = checkMultiplayerOnly_->isChecked();
    } else {
        editDescription_->setPlainText(platform::ui::FromCp1252(m_strDescription));
        checkMultiplayerOnly_->setChecked(m_bMultiplayerOnly);
    }
}

// What the window does when the user works in it.

void CLoadwiseDlg::UpdateSelectedCount(int tab) {
    if (tab < 0 || tab >= kitdata::kTabCount) {
        return;
    }
    const int count = kitdata::SelectedCount(tab, m_pList[tab]->Rows().CheckedRowCount());
    m_stcCount->setText(QString::number(count));
    m_bTabValid[tab] = kitdata::IsCountAcceptable(count, m_bMultiplayerOnly);
    m_btnSave->setEnabled(kitdata::IsSaveAllowed(m_bTabValid));
}

void CLoadwiseDlg::OnSelchangeKitTab() {
    const int tab = m_tabKit->currentIndex();
    if (tab >= 0 && tab < kitdata::kTabCount) {
        ShowList(tab);
        m_nCurTab = tab;
    }
    UpdateSelectedCount(m_nCurTab);
}

void CLoadwiseDlg::OnClickList(int row) {
    if (row >= 0) {
        ShowDescription(row);
    }
    UpdateSelectedCount(m_nCurTab);
}

void CLoadwiseDlg::ShowDescription(int row) {
    const std::string text = m_pList[m_nCurTab]->GetCellText(row, kitdata::kTextColumn);
    m_strDescription = kitdata::ReadDescription(prefix_, paths_, text);
    UpdateData(false);
}

void CLoadwiseDlg::SetAllChecks(bool ticked) {
    loadwise::CCheckListCtrl& list = *m_pList[m_nCurTab];
    for (int row = 0; row < list.GetRowCount(); ++row) {
        list.SetCheck(row, ticked);
    }
    UpdateSelectedCount(m_nCurTab);
}

void CLoadwiseDlg::OnSelectAll() {
    SetAllChecks(true);
}

void CLoadwiseDlg::OnUnselectAll() {
    SetAllChecks(false);
}

void CLoadwiseDlg::OnMultiplayerOnly() {
    UpdateData(true);
    for (int tab = 0; tab < kitdata::kTabCount; ++tab) {
        UpdateSelectedCount(tab);
    }
}

void CLoadwiseDlg::OnAbout() {
    loadwise::CAboutDlg about(this);
    about.exec();
}

platform::Status CLoadwiseDlg::SaveKitLists() {
    if (!paths_.allPathsRead) {
        // The lists are empty then; no file is looked for under made-up folders.
        return platform::Error{"The game's folders",
                               "they could not be read from the registry, so there is nothing "
                               "to save"};
    }
    kitdata::TabTicks ticks;
    for (int tab = 0; tab < kitdata::kTabCount; ++tab) {
        const loadwise::CCheckListCtrl& list = *m_pList[tab];
        for (int row = 0; row < list.GetRowCount(); ++row) {
            ticks[tab].push_back({list.GetCellText(row, kitdata::kTextColumn), list.GetCheck(row)});
        }
    }
    const platform::ui::WaitCursor wait;
    return kitdata::SaveKitLists(prefix_, paths_, ticks);
}

void CLoadwiseDlg::OnOK() {
    const platform::Status saved = SaveKitLists();
    if (!saved) {
        // The user may put the problem right and save again.
        platform::ShowMessage(kitdata::SaveFailedMessage(saved.error()), kitdata::kMessageCaption,
                              platform::MB_OK | platform::MB_ICONHAND);
        return;
    }
    UpdateData(true);
    accept();
}
