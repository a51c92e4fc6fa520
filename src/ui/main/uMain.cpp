// The main window as frame: creation, tool bar, showing, closing.

#include "ui/main/uMain.h"

#include "core/Version.h"
#include "session/ControllerHints.h"

#include "ui/main/ShortcutHints.h"
#include "ui/main/ThemeIcons.h"
#include "core/files/SettingsFile.h"
#include "core/i18n/LanguageCatalogue.h"
#include "core/i18n/LanguageManager.h"
#include "ui/i18n/LanguageIcons.h"
#include "ui/i18n/LanguageSelector.h"
#include "ui/main/WindowPlacementStore.h"
#include "ui/editor/ConfigEditor.h"
#include "ui/editor/ConfigEditorForm.h"
#include "ui/main/DeveloperMode.h"
#include "ui/main/DevicePanel.h"
#include "ui/main/ProfileActions.h"
#include "ui_ConfigEditor.h"
#include "ui/i18n/LanguageIcons.h"
#include "ui/dialogs/uAbout.h"
#include "ui/dialogs/uDebug.h"
#include "ui/dialogs/uMessageBox.h"
#include "ui/widgets/TabOrder.h"
#include "ui/widgets/WheelGuard.h"
#include "ui_uMain.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QWindow>

Q_LOGGING_CATEGORY(lcMain, "corvane.app.main")

namespace {

// The English layout's client area; other languages and scales may need more.
constexpr QSize DesignedClientSize(565, 423);
// The designed width; longer language names widen the selector.
constexpr int LanguageSelectorWidth = 102;
// No standard key sends; Ctrl+Return is the usual "send" of mail and chat.
const QKeySequence SendShortcut(Qt::CTRL | Qt::Key_Return);


// The tool buttons' pictures: an icon theme name and the style's picture
// where the theme has none.
struct ToolIcon {
    const char *button;
    const char *themeName;
    QStyle::StandardPixmap fallback;
};
constexpr ToolIcon ToolIcons[] = {
    {"ToolButton1", "application-exit", QStyle::SP_DialogCloseButton},
    {"butLoadProfile", "document-open", QStyle::SP_DialogOpenButton},
    {"butSaveProfile", "document-save", QStyle::SP_DialogSaveButton},
    {"ToolButton7", "help-about", QStyle::SP_MessageBoxInformation},
};

QToolButton *makeToolButton(QWidget *parent, const char *name, const QString &hint)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setAutoRaise(true);
    return b;
}

// Layouts keep their size hints until their widget next handles a layout
// request, which a hidden page never does: texts changed by a language
// switch would be measured with the sizes of the language before.
void dropLayoutCaches(QWidget *root)
{
    const QList<QWidget *> widgets = root->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (w->layout())
            w->layout()->invalidate();
        w->updateGeometry();
    }
    if (root->layout())
        root->layout()->invalidate();
}

} // namespace

TMain::TMain(MainSetup setup, QWidget *parent)
    : QMainWindow(parent)
    , m_ui(new Ui::TMain)
    , m_setup(std::move(setup))
{
    m_ui->setupUi(this);
    buildToolBar();
    embedEditor();

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setParent(this);
    Timer1.setSingleShot(true);
    Timer1.setInterval(StartupDelayMs);
    connect(&Timer1, &QTimer::timeout, this, &TMain::Startup);

    // Designer keeps only the line feed of a CR LF; the hint is the translation key.
    m_ui->chkAutoSend->setToolTip(QStringLiteral("Auto send changes to CORVANE\r\nafter an idle time of 10 seconds"));
    // What to do when no controller is found; set here for its CR LFs too.
    m_ui->labNoCorvaneHint->setText(noControllerHint());

    const DevicePanel::Controls controls{*m_ui, m_editorForm->form(), butLoadProfile, butSaveProfile, Timer1};
    m_devices = std::make_unique<DevicePanel>(controls, m_session, m_setup.controllerFactory, m_setup.trace);
    connect(m_devices.get(), &DevicePanel::deviceOpened, this, &TMain::deviceOpened);
    hookDropDowns();
    for (QWidget *list : {static_cast<QWidget *>(m_ui->cbHid), static_cast<QWidget *>(cbLang)})
        takeWheelOnlyWithFocus(list);
    // In reading order: the controller first, then the tool bar, the pages
    // and the send controls.
    chainTabOrder({m_ui->cbHid, ToolButton1, butLoadProfile, butSaveProfile, cbLang, ToolButton7, m_editorForm,
                   m_ui->chkAutoSend, m_ui->ButSaveConfig});

    // Fixed border with system menu and minimise box, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    fitWindowSize();

    FormCreate();

    // The auxiliary windows, hidden, in this order.
    m_debug = new TDebug(this);
    m_msgBox = new TMsgBox(this);
    m_msgBox->setAnchor(this);
    setMsgBox(m_msgBox);
    m_about = new TAbout(this);
    m_about->setApplicationTitle(ProgTitle);
}

TMain::~TMain()
{
    // Destroyed without a close (say at the end of a session): the settings
    // are still written, once.
    if (m_formShown && !m_settingsWritten)
        FormClose();
    // The box goes with this window; asking MsgBox() here would make a new one.
    setMsgBox(nullptr);
    m_profiles.reset();
    m_editor.reset();
    m_devices.reset();
    delete m_ui;
}

void TMain::FormCreate()
{
    ProgTitle = QStringLiteral("CORVANE Config Tool")
        + QStringLiteral(" v") + QLatin1String(CORVANE_VERSION);
    ProgPath = QDir(QCoreApplication::applicationDirPath()).absolutePath() + QDir::separator();

    const QString path = m_setup.settingsPath.isEmpty() ? SettingsFile::settingsPath(ProgPath) : m_setup.settingsPath;
    m_iniFile = std::make_unique<SettingsFile>(path);

    // The title is set on this window alone: an application display name
    // would be appended by Qt to the title of every other window too.
    setWindowTitle(ProgTitle);
    // For every window of the program, the auxiliary ones included.
    QApplication::setWindowIcon(ThemeIcons::applicationIcon());
    setWindowIcon(QApplication::windowIcon());
}

QString TMain::settingsPath() const
{
    return m_iniFile->fileName();
}

void TMain::buildToolBar()
{
    QToolBar *bar = m_ui->ToolBar1;
    ToolButton1 = makeToolButton(bar, "ToolButton1", QStringLiteral("Exit"));
    butLoadProfile = makeToolButton(bar, "butLoadProfile", QStringLiteral("Open config"));
    butSaveProfile = makeToolButton(bar, "butSaveProfile", QStringLiteral("Save config"));
    cbLang = new QComboBox(bar);
    cbLang->setObjectName(QStringLiteral("cbLang"));
    cbLang->setToolTip(QStringLiteral("Change language"));
    cbLang->setMinimumWidth(LanguageSelectorWidth);
    cbLang->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ToolButton7 = makeToolButton(bar, "ToolButton7", QStringLiteral("Info..."));
    refreshToolIcons();

    ShortcutHints::assign(ToolButton1, QKeySequence(QKeySequence::Quit));
    ShortcutHints::assign(butLoadProfile, QKeySequence(QKeySequence::Open));
    ShortcutHints::assign(butSaveProfile, QKeySequence(QKeySequence::Save));
    ShortcutHints::assign(ToolButton7, QKeySequence(QKeySequence::HelpContents));
    ShortcutHints::assign(m_ui->ButSaveConfig, SendShortcut);

    bar->addWidget(ToolButton1);
    bar->addSeparator();
    bar->addWidget(butLoadProfile);
    bar->addWidget(butSaveProfile);
    bar->addSeparator();
    bar->addWidget(cbLang);
    bar->addSeparator();
    bar->addWidget(ToolButton7);

    butLoadProfile->setEnabled(false);
    butSaveProfile->setEnabled(false);
    connect(ToolButton1, &QToolButton::clicked, this, &TMain::ButExitClick);
    connect(ToolButton7, &QToolButton::clicked, this, &TMain::ButInfoClick);
    connect(butLoadProfile, &QToolButton::clicked, this, &TMain::butLoadProfileClick);
    connect(butSaveProfile, &QToolButton::clicked, this, &TMain::butSaveProfileClick);
    // Only a choice by the user switches; filling the list in code does not.
    connect(cbLang, &QComboBox::activated, this, &TMain::cbLangChange);
}

void TMain::embedEditor()
{
    m_editorForm = new ConfigEditorForm(m_ui->panEditor);
    m_ui->layEditorHost->addWidget(m_editorForm, 1);
    pageConfig()->hide();
}

// QComboBox has no drop-down signal; its list lives in a popup window that
// is shown each time the list opens. Opening any of these records the
// device combo box's text.
void TMain::hookDropDowns()
{
    const Ui::ConfigEditorForm &e = m_editorForm->form();
    for (QComboBox *combo : {m_ui->cbHid, e.cbLayout, e.cbLedCol0, e.cbLedCol1, e.cbLedCol2, e.cbLedCol3, e.cbLedCol4,
                             e.cbLedCol5, e.cbLedCol6, e.cbLedCol7, e.cbLedProto, e.cbComProto, e.cbFirstLed,
                             e.cbLedOrder, e.cbWS2801clk, e.cbAPA102clk, e.cbLPD8803clk}) {
        QWidget *popup = combo->view()->window();
        popup->installEventFilter(this);
        m_dropDownPopups.insert(popup);
    }
}

bool TMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && m_dropDownPopups.contains(watched))
        m_devices->cbHidDropDown();
    return QMainWindow::eventFilter(watched, event);
}

void TMain::fitWindowSize()
{
    // The read-outs are filled later: reserve room for their longest usual text.
    const QFontMetrics fm(m_ui->LabBiosInfo->font());
    const std::pair<QLabel *, const char *> samples[] = {
        {m_ui->LabBiosVersion, "v25.25"},          {m_ui->LabBiosCode, "FFFF"},
        {m_ui->LabBiosInfo, "CORVANE-8CH-PRO"},    {m_ui->LabBiosDate, "2026-12-31"},
        {m_ui->LabBiosConfig, "v1.1"},             {m_ui->labCapacity, "65535 LEDs"}};
    for (const auto &[label, sample] : samples)
        label->setMinimumWidth(fm.horizontalAdvance(QLatin1String(sample)));

    // Measured as with a device open, whatever shows now: the editor in,
    // the no-device text out. A hidden editor keeps its room while measured,
    // which costs far less than showing and hiding its hundreds of controls.
    QTabWidget *page = pageConfig();
    const bool pageHidden = page && page->isHidden();
    const QSizePolicy pagePolicy = page ? page->sizePolicy() : QSizePolicy();
    const bool noDeviceShown = !m_ui->labNoCorvane->isHidden();
    const auto showNoDevice = [this](bool shown) {
        m_ui->labNoCorvane->setVisible(shown);
        m_ui->labNoCorvaneHint->setVisible(shown);
    };
    const auto relayout = [this, page] {
        for (QWidget *w = page ? page->parentWidget() : nullptr; w; w = w->parentWidget()) {
            if (w->layout())
                w->layout()->invalidate();
            if (w == this)
                break;
        }
    };
    if (pageHidden) {
        QSizePolicy measured = pagePolicy;
        measured.setRetainSizeWhenHidden(true);
        page->setSizePolicy(measured);
    }
    if (noDeviceShown)
        showNoDevice(false);
    dropLayoutCaches(this);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const QSize size = sizeHint().expandedTo(DesignedClientSize);
    if (pageHidden)
        page->setSizePolicy(pagePolicy);
    if (noDeviceShown)
        showNoDevice(true);
    if (pageHidden || noDeviceShown)
        relayout();
    setFixedSize(size);
}

void TMain::refreshToolIcons()
{
    // The window's palette: on a palette change the window hears of it
    // before its children have taken the new one.
    for (const ToolIcon &t : ToolIcons) {
        if (auto *b = findChild<QToolButton *>(QLatin1String(t.button)))
            b->setIcon(ThemeIcons::toolIcon(t.themeName, t.fallback, this));
    }
}

void TMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // A glyph drawn in the palette's text colour follows a theme switch.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        refreshToolIcons();
}

QTabWidget *TMain::pageConfig() const
{
    return m_editorForm->form().pageConfig;
}

void TMain::setVisible(bool visible)
{
    // The stored placement applies before the window first appears, and
    // after the stored language has given the window its final size, so
    // that centring uses the size the window will have.
    if (visible && !m_placementRestored) {
        m_placementRestored = true;
        readSettingsAndLanguage();
        restoreWindowPlacement(*this, *m_iniFile);
    }
    QMainWindow::setVisible(visible);
}

void TMain::readSettingsAndLanguage()
{
    if (m_settingsRead)
        return;
    m_settingsRead = true;
    readSettings();
    fillLanguageSelector();
}

void TMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_formShown && !event->spontaneous())
        FormShow();
}

void TMain::FormShow()
{
    if (m_formShown)
        return;
    m_formShown = true;

    // Normally done before the window appeared already.
    readSettingsAndLanguage();
    // Placed beside the window at its translated size.
    if (m_setup.developerMode)
        developerCopy();

    const EditorFrame frame{m_ui->labCapacity, m_ui->ButSaveConfig, m_ui->chkAutoSend, m_ui->sBar};
    m_editor = std::make_unique<ConfigEditor>(*m_editorForm, frame, m_session);
    m_devices->setEditor(m_editor.get());

    Timer1.start();
}

void TMain::developerCopy()
{
    // 1.1 is the configuration version the firmware must ask for.
    showDeveloperMode(*m_debug, *this, kVersionMajor * 10 + kVersionMinor, kVersionBuild);
}

void TMain::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TMain::FormClose()
{
    // A window that never came up has read nothing it could write back.
    if (m_settingsWritten || !m_formShown)
        return;
    m_settingsWritten = true;
    Timer1.stop();
    writeWindowPlacement(*this, *m_iniFile);
    writeSettings();
}

void TMain::ButExitClick()
{
    close();
}

void TMain::ButInfoClick()
{
    m_about->exec();
}

void TMain::Startup()
{
    m_devices->Startup();
}

ProfileActions &TMain::profiles()
{
    if (!m_profiles) {
        ProfileContext c;
        c.window = this;
        c.statusBar = m_ui->sBar;
        c.debug = m_debug;
        c.session = &m_session;
        c.editor = m_editor.get();
        m_profiles = std::make_unique<ProfileActions>(c);
    }
    return *m_profiles;
}

void TMain::butSaveProfileClick()
{
    if (m_editor)
        profiles().butSaveProfileClick();
}

void TMain::butLoadProfileClick()
{
    if (m_editor)
        profiles().butLoadProfileClick();
}

void TMain::bringToFront()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

// --- the "CONFIG" settings

void TMain::readSettings()
{
    // Said once and kept in view: a passing message would go with the first
    // device change.
    if (const QString problem = m_iniFile->errorString(); !problem.isEmpty())
        m_ui->sBar->addWidget(new QLabel(QStringLiteral("Settings are not saved: %1").arg(problem), m_ui->sBar));
    const ConfigSettings c = m_iniFile->readConfig();
    m_devices->SaveSnr = c.device;
    storedLanguage = c.language;
    m_ui->chkAutoSend->setChecked(c.autoSend);
    pageConfig()->setCurrentIndex(c.tabActive);
}

void TMain::writeSettings()
{
    ConfigSettings c;
    c.device = m_ui->cbHid->currentText();
    c.language = currentLanguageCode();
    c.autoSend = m_ui->chkAutoSend->isChecked();
    c.tabActive = qMax(0, pageConfig()->currentIndex());
    if (!m_iniFile->writeConfig(c))
        qCWarning(lcMain) << "settings not saved:" << m_iniFile->errorString();
}

// --- the language selector

void TMain::fillLanguageSelector()
{
    QStringList ids;
    if (SystemLanguages) {
        for (const TLanguage *l : *SystemLanguages)
            ids << l->ID;
    }
    LanguageIcons = std::make_unique<TLanguageIcons>(ids);
    LanguageSelector::fill(cbLang, *LanguageIcons, storedLanguage);
    // Translate before the user sees the windows.
    cbLangChange();
}

void TMain::cbLangChange()
{
    LanguageSelector::apply(cbLang, {this, m_about, m_msgBox});
    // Names for assistive technology follow the translated captions.
    m_editorForm->refreshAccessibleNames();
    for (QWidget *w : std::initializer_list<QWidget *>{ToolButton1, butLoadProfile, butSaveProfile, cbLang, ToolButton7})
        w->setAccessibleName(w->toolTip());
    // Sized for the new texts before anything else uses the window's size.
    fitWindowSize();
}

QString TMain::currentLanguageCode() const
{
    // Without the language manager nothing could change the stored choice.
    if (!LanguageManager || !LanguageManager->CurrentLanguage)
        return storedLanguage;
    return LanguageManager->CurrentLanguage->ID;
}
