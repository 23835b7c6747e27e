#include "gui/app/main_frame.h"

#include <QActionGroup>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "gui/app/about_dialog.h"
#include "gui/app/app_texts.h"
#include "gui/app/keyboard_indicators.h"
#include "gui/app/quarlen_view.h"
#include "gui/app/resources.h"
#include "gui/app/start_up.h"
#include "gui/widgets/message_panel.h"

namespace zephalo::gui {

namespace {

constexpr int kIndicatorPeriodMs = 400;

QLabel* indicator(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 10);
    label->setEnabled(false);  // greyed while the key is off or its state is unknown
    return label;
}

}  // namespace

CMainFrame::CMainFrame(core::Workspace workspace, QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("ZEPHALO"));
    setWindowIcon(applicationIcon());
    // No tool-bar context menu: the "表示(&V)" menu is the one switch.
    setContextMenuPolicy(Qt::PreventContextMenu);

    m_view = new CQuarlenView(std::move(workspace), this);
    setCentralWidget(m_view);
    createBars();
    createMenus();
    // Start as small as the form allows; the message panel grows when the
    // user enlarges the window.
    resize(minimumSizeHint());
}

void CMainFrame::createBars() {
    m_aboutAction = new QAction(applicationIcon(), toQt(texts::kAboutAction), this);
    m_aboutAction->setToolTip(toQt(texts::kAboutHint));
    m_aboutAction->setStatusTip(toQt(texts::kAboutStatusTip));
    connect(m_aboutAction, &QAction::triggered, this, &CMainFrame::showAbout);

    m_toolBar = addToolBar(toQt(texts::kToolBarTitle));
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->addAction(m_aboutAction);
    m_toolBar->hide();

    auto* status = statusBar();
    m_capsIndicator = indicator(QStringLiteral("CAP"), status);
    m_numIndicator = indicator(QStringLiteral("NUM"), status);
    m_scrollIndicator = indicator(QStringLiteral("SCRL"), status);
    status->addPermanentWidget(m_capsIndicator);
    status->addPermanentWidget(m_numIndicator);
    status->addPermanentWidget(m_scrollIndicator);
    // The idle text returns whenever a temporary tip is cleared.
    status->showMessage(toQt(texts::kReady));
    connect(status, &QStatusBar::messageChanged, this, [status](const QString& text) {
        if (text.isEmpty()) status->showMessage(toQt(texts::kReady));
    });
    status->hide();

    m_indicatorTimer = new QTimer(this);
    m_indicatorTimer->setInterval(kIndicatorPeriodMs);
    connect(m_indicatorTimer, &QTimer::timeout, this, &CMainFrame::updateIndicators);
}

void CMainFrame::createMenus() {
    auto* viewMenu = menuBar()->addMenu(toQt(texts::kViewMenu));
    m_toolBarAction = viewMenu->addAction(toQt(texts::kToolBarAction));
    m_toolBarAction->setCheckable(true);
    m_toolBarAction->setChecked(false);
    m_toolBarAction->setStatusTip(toQt(texts::kToolBarTip));
    connect(m_toolBarAction, &QAction::toggled, m_toolBar, &QToolBar::setVisible);

    m_statusBarAction = viewMenu->addAction(toQt(texts::kStatusBarAction));
    m_statusBarAction->setCheckable(true);
    m_statusBarAction->setChecked(false);
    m_statusBarAction->setStatusTip(toQt(texts::kStatusBarTip));
    connect(m_statusBarAction, &QAction::toggled, this, [this](bool on) {
        statusBar()->setVisible(on);
        if (on) {
            updateIndicators();
            m_indicatorTimer->start();
        } else {
            m_indicatorTimer->stop();
        }
    });

    createLanguageMenu();

    auto* helpMenu = menuBar()->addMenu(toQt(texts::kHelpMenu));
    helpMenu->addAction(m_aboutAction);
}

// Each language by its own name; the choice is remembered and the program
// speaks it from its next start, as the message panel says.
void CMainFrame::createLanguageMenu() {
    using core::text::Language;
    auto* menu = menuBar()->addMenu(toQt(texts::kLanguageMenu));
    auto* group = new QActionGroup(this);
    const Language shown = rememberedLanguage().value_or(core::text::language());
    struct Choice {
        Language language;
        std::string_view name;
        const char* object;
    };
    for (const Choice choice :
         {Choice{Language::Japanese, texts::kJapaneseName, "languageJapanese"},
          Choice{Language::English, texts::kEnglishName, "languageEnglish"}}) {
        auto* action = menu->addAction(toQt(choice.name));
        action->setObjectName(QString::fromLatin1(choice.object));
        action->setCheckable(true);
        action->setChecked(choice.language == shown);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, choice] {
            rememberLanguage(choice.language);
            m_view->showMessage(core::text::fill(texts::kLanguageChosen, {choice.name}));
        });
    }
}

void CMainFrame::updateIndicators() {
    const auto keys = lockKeyState();
    m_capsIndicator->setEnabled(keys && keys->caps);
    m_numIndicator->setEnabled(keys && keys->num);
    m_scrollIndicator->setEnabled(keys && keys->scroll);
}

void CMainFrame::showAbout() {
    CAboutDlg about(this);
    about.exec();
}

}  // namespace zephalo::gui
