#include "gui/app/CMainFrame.h"

#include "core/app/MainMenus.h"
#include "core/app/RecentFiles.h"
#include "core/app/WindowPlacement.h"
#include "core/base/AppHooks.h"
#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/base/ProfileStore.h"
#include "core/link/CommLink.h"
#include "gui/app/ViewCommandTarget.h"
#include "gui/link/Ccomview.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {
const char* const kIdleMessage = "For Help, press F1";
// The link pane while the link is not open: white on red, so that it is seen at a glance.
const char* const kNotOpenStyle = "QLabel { background: #c62828; color: white; font-weight: bold; }";
constexpr int kMacroButtonWidth = 72;
// The X11 state bit of caps lock, as key events report it.
constexpr quint32 kX11LockMask = 0x2;

QString Plain(const char* text) {
    return QString::fromLatin1(text).remove('&');
}
} // namespace

// The icons live in the GUI library's resources, which a static library does not register by itself.
static void LoadResources() {
    Q_INIT_RESOURCE(marlix);
}

CMainFrame::CMainFrame() : m_mdi(new QMdiArea(this)), m_kinds(m_mdi) {
    LoadResources();
    setObjectName("mainFrame");
    setWindowTitle(kTitle);
    setWindowIcon(QIcon(":/icons/marlix.svg"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    BuildMenus();
    BuildToolBar();
    BuildMacroBar();
    BuildStatusBar();
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] { UpdateCommandStates(); });

    WindowKinds::Kind comm;
    comm.title = "Communication";
    comm.createView = [] { return new Ccomview; };
    m_kinds.Register(WindowKind::Communication, comm);

    qApp->installEventFilter(this);
    resize(1000, 700);
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    // The child windows close while the frame is taken apart: nothing may be refreshed any more.
    disconnect(m_mdi, nullptr, this, nullptr);
}

QAction* CMainFrame::MakeAction(int id, const char* text, const char* prompt, const char* shortcut) {
    auto it = m_actions.find(id);
    if (it != m_actions.end())
        return it->second;
    auto* a = new QAction(QString::fromLatin1(text), this);
    a->setData(id);
    if (*prompt) {
        a->setStatusTip(QString::fromLatin1(prompt));
        a->setToolTip(Plain(text));
    }
    if (*shortcut)
        a->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    a->setEnabled(false);
    connect(a, &QAction::triggered, this, [this, id] { RunCommand(id); });
    m_actions[id] = a;
    return a;
}

QAction* CMainFrame::action(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::RunCommand(int id) {
    commands().Run(id);
    // The command may have changed a document or the link: show the new state at once.
    UpdateCommandStates();
}

void CMainFrame::BuildMenus() {
    for (const MenuText& menuText : MainMenus()) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(menuText.title));
        for (const CommandText& item : menuText.items) {
            if (item.id == 0)
                menu->addSeparator();
            else
                menu->addAction(MakeAction(item.id, item.text, item.prompt, item.shortcut));
        }
        connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommandStates(); });
        if (QString::fromLatin1(menuText.title) == "&Window")
            connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillWindowList(menu); });
        if (QString::fromLatin1(menuText.title) == "&File")
            connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillRecentFiles(menu); });
    }
    for (const CommandText& item : OtherCommands())
        addAction(MakeAction(item.id, item.text, item.prompt, item.shortcut));
}

void CMainFrame::BuildToolBar() {
    m_toolBar = addToolBar(tr("Toolbar"));
    m_toolBar->setObjectName("toolBar");
    m_toolBar->setIconSize(QSize(32, 32));
    m_toolBar->setMovable(true);
    for (const ToolButtonText& button : ToolbarButtons()) {
        if (button.id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* a = action(button.id);
        a->setIcon(QIcon(QString(":/icons/%1.svg").arg(button.icon)));
        m_toolBar->addAction(a);
        if (QWidget* w = m_toolBar->widgetForAction(a))
            w->setFixedSize(39, 38);
    }
}

void CMainFrame::BuildMacroBar() {
    addToolBarBreak(Qt::TopToolBarArea);
    m_macroBar = new QToolBar(tr("Macro Bar"), this);
    m_macroBar->setObjectName("macroBar");
    m_macroBar->setMovable(false);
    m_macroBar->setFloatable(false);
    m_macroBar->setAllowedAreas(Qt::TopToolBarArea);
    m_macroBar->setStyleSheet("QToolBar#macroBar { border-bottom: 1px solid palette(mid); }");
    addToolBar(Qt::TopToolBarArea, m_macroBar);
    for (int i = 0; i < ID_MACRO_BUTTON_COUNT; ++i) {
        QAction* a = MakeAction(ID_MACRO_BUTTON_FIRST + i, "", "", "");
        m_macroBar->addAction(a);
        if (auto* button = qobject_cast<QToolButton*>(m_macroBar->widgetForAction(a))) {
            button->setFixedWidth(kMacroButtonWidth);
            button->setToolButtonStyle(Qt::ToolButtonTextOnly);
            button->setAutoRaise(false);
        }
    }
}

QAction* CMainFrame::macroButton(int i) const {
    return i >= 0 && i < ID_MACRO_BUTTON_COUNT ? action(ID_MACRO_BUTTON_FIRST + i) : nullptr;
}

void CMainFrame::BuildStatusBar() {
    m_messagePane = new QLabel(tr(kIdleMessage));
    m_linkPane = new QLabel;
    m_linkPane->setObjectName("linkPane");
    m_linkPane->setMargin(2);
    m_settingsPane = new QLabel;
    m_projectPane = new QLabel;
    m_capsPane = new QLabel;
    const QFontMetrics metrics(statusBar()->font());
    m_settingsPane->setMinimumWidth(metrics.horizontalAdvance("filename.ext") + 8);
    m_projectPane->setMinimumWidth(metrics.horizontalAdvance("longfilename.ext") + 8);
    m_capsPane->setMinimumWidth(metrics.horizontalAdvance("CAP") + 8);
    m_linkPane->setMinimumWidth(metrics.horizontalAdvance("/dev/ttyUSB0 19200") + 16);
    for (QLabel* pane : {m_linkPane, m_settingsPane, m_projectPane, m_capsPane}) {
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
    }
    statusBar()->addWidget(m_messagePane, 1);
    statusBar()->addPermanentWidget(m_linkPane);
    statusBar()->addPermanentWidget(m_settingsPane);
    statusBar()->addPermanentWidget(m_projectPane);
    statusBar()->addPermanentWidget(m_capsPane);
}

void CMainFrame::AddRefreshHook(std::function<void()> hook) {
    m_refreshHooks.push_back(std::move(hook));
}

void CMainFrame::UpdateCommandStates() {
    const CommandRegistry& registry = commands();
    for (const auto& [id, a] : m_actions) {
        a->setEnabled(registry.IsEnabled(id));
        const bool hasCheck = registry.HasCheck(id);
        a->setCheckable(hasCheck);
        if (hasCheck)
            a->setChecked(registry.IsChecked(id));
    }
    RefreshStatusPanes();
    if (Ccomview* view = terminal())
        view->RefreshTitle();
    for (const auto& hook : m_refreshHooks)
        hook();
}

void CMainFrame::RefreshStatusPanes() {
    const CommLink& link = commLink();
    m_linkPane->setText(QString::fromStdString(link.StatusText()));
    const QString style = link.IsOpen() ? QString() : QString(kNotOpenStyle);
    if (m_linkPane->styleSheet() != style)
        m_linkPane->setStyleSheet(style);
    const AppHooks& hooks = appHooks();
    m_settingsPane->setText(hooks.SettingsTitle ? QString::fromStdString(hooks.SettingsTitle()) : QString());
    m_projectPane->setText(hooks.ProjectTitle ? QString::fromStdString(hooks.ProjectTitle()) : QString());
    m_capsPane->setText(m_capsLock ? "CAP" : "");
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        bool caps = m_capsLock;
        if (key->key() == Qt::Key_CapsLock) {
            if (event->type() == QEvent::KeyPress)
                caps = !m_capsLock;
        } else if (QGuiApplication::platformName() == "xcb") {
            caps = (key->nativeModifiers() & kX11LockMask) != 0;
        }
        if (caps != m_capsLock) {
            m_capsLock = caps;
            m_capsPane->setText(m_capsLock ? "CAP" : "");
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

QMdiSubWindow* CMainFrame::currentWindow() const {
    return m_mdi->currentSubWindow();
}

ViewCommandTarget* CMainFrame::ActiveViewTarget() const {
    QMdiSubWindow* window = currentWindow();
    return window ? dynamic_cast<ViewCommandTarget*>(window->widget()) : nullptr;
}

Ccomview* CMainFrame::terminal() const {
    QMdiSubWindow* window = m_kinds.Find(WindowKind::Communication);
    return window ? qobject_cast<Ccomview*>(window->widget()) : nullptr;
}

void CMainFrame::OpenCommWindow() {
    QMdiSubWindow* window = m_kinds.Open(WindowKind::Communication);
    if (!window)
        return;
    window->setWindowIcon(QIcon(":/icons/terminal.svg"));
    if (m_mdi->subWindowList().size() == 1)
        window->resize(m_mdi->viewport()->size() * 0.9);
    window->widget()->setFocus();
}

void CMainFrame::FillWindowList(QMenu* menu) {
    for (QAction* a : m_windowListActions)
        delete a;
    m_windowListActions.clear();
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    if (windows.isEmpty())
        return;
    m_windowListActions.push_back(menu->addSeparator());
    int number = 1;
    for (QMdiSubWindow* window : windows) {
        QAction* a = menu->addAction(QString("&%1 %2").arg(number++).arg(window->windowTitle()));
        a->setCheckable(true);
        a->setChecked(window == currentWindow());
        connect(a, &QAction::triggered, this, [this, window] { m_mdi->setActiveSubWindow(window); });
        m_windowListActions.push_back(a);
    }
}

// The recent text files stand above "E&xit", numbered 1 to 4, with a separator of their own.
void CMainFrame::FillRecentFiles(QMenu* menu) {
    for (QAction* a : m_recentFileActions)
        delete a;
    m_recentFileActions.clear();
    const std::vector<std::string>& paths = recentFiles().paths();
    if (paths.empty())
        return;
    QAction* exitAction = action(ID_APP_EXIT);
    int number = 1;
    for (const std::string& path : paths) {
        const QString text = QString("&%1 %2").arg(number).arg(QString::fromStdString(path));
        auto* a = new QAction(text, menu);
        a->setStatusTip(tr("Open this document"));
        const int index = number - 1;
        connect(a, &QAction::triggered, this, [this, index] {
            recentFiles().Open(index);
            UpdateCommandStates();
        });
        menu->insertAction(exitAction, a);
        m_recentFileActions.push_back(a);
        ++number;
    }
    m_recentFileActions.push_back(menu->insertSeparator(exitAction));
}

void CMainFrame::TileHorizontally() {
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    if (windows.isEmpty())
        return;
    const QSize area = m_mdi->viewport()->size();
    const int height = area.height() / static_cast<int>(windows.size());
    int y = 0;
    for (QMdiSubWindow* window : windows) {
        window->showNormal();
        window->setGeometry(0, y, area.width(), height);
        y += height;
    }
}

void CMainFrame::TileVertically() {
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    if (windows.isEmpty())
        return;
    const QSize area = m_mdi->viewport()->size();
    const int width = area.width() / static_cast<int>(windows.size());
    int x = 0;
    for (QMdiSubWindow* window : windows) {
        window->showNormal();
        window->setGeometry(x, 0, width, area.height());
        x += width;
    }
}

void CMainFrame::SavePlacement() const {
    WindowPlacement p;
    p.showCmd = isMaximized()   ? WindowPlacement::kShowMaximized
                : isMinimized() ? WindowPlacement::kShowMinimized
                                : WindowPlacement::kShowNormal;
    QRect normal = normalGeometry();
    if (!normal.isValid())
        normal = geometry();
    p.left = normal.x();
    p.top = normal.y();
    p.right = normal.x() + normal.width();
    p.bottom = normal.y() + normal.height();
    WriteProfileString("Winpos", "MainFrame", p.Format());
}

bool CMainFrame::RestorePlacement() {
    const auto placement = WindowPlacement::Parse(GetProfileString("Winpos", "MainFrame"));
    if (!placement || placement->width() <= 0 || placement->height() <= 0)
        return false;
    const QRect rect(placement->left, placement->top, placement->width(), placement->height());
    // A placement on a screen that is no longer there would hide the window.
    bool onScreen = false;
    for (const QScreen* screen : QGuiApplication::screens())
        onScreen = onScreen || screen->virtualGeometry().intersects(rect);
    if (!onScreen)
        return false;
    setGeometry(rect);
    if (placement->showCmd == WindowPlacement::kShowMaximized)
        showMaximized();
    else
        show();
    return true;
}

bool CMainFrame::CloseChildWindows() {
    // The forms first, the terminal last.
    QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    std::stable_partition(windows.begin(), windows.end(), [](QMdiSubWindow* w) {
        return WindowKinds::KindOf(w) != WindowKind::Communication;
    });
    for (QMdiSubWindow* window : windows) {
        if (!window->close())
            return false;
    }
    return true;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The placement is saved first, so even a close that is then cancelled keeps it.
    SavePlacement();
    const AppHooks& hooks = appHooks();
    if (!hooks.AskCloseQuestions() || (hooks.CloseTextWindows && !hooks.CloseTextWindows()) ||
        !CloseChildWindows()) {
        event->ignore();
        UpdateCommandStates();
        return;
    }
    event->accept();
    // The program ends with its main window, whatever tool windows are still up.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}
