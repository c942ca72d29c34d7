#include "TForm1.h"
#include "WidgetHelpers.h"

#include "BuiltinTexts.h"
#include "FileLocations.h"
#include "MessageBoxPrompter.h"
#include "SaveScreen.h"
#include "TFindDialog.h"
#include "TextFileStore.h"
#include "TreeFill.h"
#include "UiTexts.h"
#include "WordIndex.h"

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>

#include <algorithm>
#include <cstring>
#include <functional>

#ifndef VARNET_VERSION
#define VARNET_VERSION "0"
#endif

namespace varnet::ui {

namespace {}  // namespace

namespace {

QStringList memoLines(const QTextEdit* m) {
    return m->toPlainText().split(QLatin1Char('\n'));
}

int virtualKeyOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_PageUp:
            return kKeyPageUp;
        case Qt::Key_PageDown:
            return kKeyPageDown;
        case Qt::Key_Space:
            return kKeySpace;
        case Qt::Key_Left:
            return kKeyLeft;
        case Qt::Key_Up:
            return kKeyUp;
        case Qt::Key_Right:
            return kKeyRight;
        case Qt::Key_Down:
            return kKeyDown;
        default:
            break;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey;
    return 0;
}

bool within(const QWidget* widget, const QWidget* page) {
    return widget && (widget == page || page->isAncestorOf(widget));
}

// What a search reads of the Find dialog; before the dialog is made, an
// empty find text (which finds nothing), down, no match case.
class FindOptions final : public FindDialog {
public:
    FindOptions(const TForm1& form, TFindDialog* const& dialog) : form_(form), dialog_(dialog) {}
    std::string findText() const override { return dialog_ ? dialog_->findText() : std::string(); }
    bool searchDown() const override { return dialog_ ? dialog_->searchDown() : true; }
    bool matchCase() const override { return dialog_ && dialog_->matchCase(); }
    void close() override {
        if (dialog_) dialog_->close();
    }
    void foundLineShown() override {
        if (dialog_) dialog_->keepClearOf(form_.foundLineArea());
    }

private:
    const TForm1& form_;
    TFindDialog* const& dialog_;
};

class KeyPreviewFilter final : public QObject {
public:
    explicit KeyPreviewFilter(TForm1& form) : form_(form) {}
    bool eventFilter(QObject* watched, QEvent* event) override { return form_.previewKey(watched, event); }

private:
    TForm1& form_;
};

}  // namespace

TForm1::TForm1(Prompter* prompter, QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    if (prompter) {
        prompter_ = prompter;
    } else {
        ownPrompter_ = std::make_unique<MessageBoxPrompter>(this);
        prompter_ = ownPrompter_.get();
    }
    setWindowTitle(utf8(kWindowCaption));
    setFont(faceAtPixels(kWindowFace, 11));
    setOuterBounds(kInitialOuterBounds);
    applyMinimumSize();

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    // The page controls cover the whole client area, so it never paints.
    client_->setAttribute(Qt::WA_OpaquePaintEvent);
    client_->setAttribute(Qt::WA_NoSystemBackground);
    setCentralWidget(client_);

    buildMenus();
    buildLeftPages();
    buildControlPanel();
    loadLogo();

    findOptions_ = std::make_unique<FindOptions>(*this, FindDialog1);
    session_ = std::make_unique<ReaderSession>(*this, Image1->surface(), diskFileStore());
    connectHandlers();
    setAccelerators();
    nameWidgetsForAccessibility();

    FormCreate();
}

TForm1::~TForm1() {
    // Hiding the window while it is taken down moves the focus; by then the
    // handlers must be gone.
    QObject::disconnect(focusWatch_);
    if (keyPreview_) qApp->removeEventFilter(keyPreview_.get());
}

void TForm1::setBookmarkDialog(TForm4* dialog) {
    if (auto* boxes = dynamic_cast<MessageBoxPrompter*>(ownPrompter_.get())) boxes->setBookmarkDialog(dialog);
}

void TForm1::setPrompter(Prompter* prompter) {
    if (prompter) {
        prompter_ = prompter;
    } else {
        if (!ownPrompter_) ownPrompter_ = std::make_unique<MessageBoxPrompter>(this);
        prompter_ = ownPrompter_.get();
    }
}

void TForm1::connectHandlers() {
    connect(OpenQTXItem, &QAction::triggered, this, &TForm1::OpenQTXItemClick);
    connect(OpenTOCItem, &QAction::triggered, this, &TForm1::OpenTOCItemClick);
    connect(SaveScreenItem, &QAction::triggered, this, &TForm1::SaveScreenItemClick);
    connect(ImportBookItem, &QAction::triggered, this, &TForm1::ImportBookItemClick);
    connect(RemoveBookItem, &QAction::triggered, this, &TForm1::RemoveBookItemClick);
    connect(ExitItem, &QAction::triggered, this, &TForm1::ExitItemClick);
    connect(FindItem, &QAction::triggered, this, &TForm1::FindItemClick);
    connect(BMMenu, &QMenu::aboutToShow, this, &TForm1::BMMenuClick);
    connect(BMAddItem, &QAction::triggered, this, &TForm1::BMAddItemClick);
    connect(BMDeleteItem, &QAction::triggered, this, &TForm1::BMDeleteItemClick);
    connect(BMGOItem, &QAction::triggered, this, &TForm1::BMGOItemClick);
    connect(HideControlPanelItem, &QAction::triggered, this, &TForm1::HideControlPanelItemClick);
    connect(ShowControlPanelItem, &QAction::triggered, this, &TForm1::ShowControlPanelItemClick);
    connect(HempMenu, &QMenu::aboutToShow, this, &TForm1::HempMenuClick);
    connect(FindNextItem, &QAction::triggered, this, [this] { findNextInDirection(+1); });
    connect(FindPreviousItem, &QAction::triggered, this, [this] { findNextInDirection(-1); });
    connect(FullScreenItem, &QAction::triggered, this, &TForm1::FullScreenItemClick);
    connect(LargerTextItem, &QAction::triggered, this, [this] { fontSizeStep(+1); });
    connect(SmallerTextItem, &QAction::triggered, this, [this] { fontSizeStep(-1); });
    connect(this, &QWidget::windowTitleChanged, Image1, &QWidget::setAccessibleName);

    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::PageControl1Change);
    connect(OKButton, &QPushButton::clicked, this, &TForm1::OKButtonClick);

    connect(FontSizeTrackBar, &QSlider::valueChanged, this, &TForm1::FontSizeTrackBarChange);
    connect(FontSizeUpDown, &QSpinBox::valueChanged, this, &TForm1::FontSizeUpDownClick);
    connect(PrevButton, &QPushButton::clicked, this, &TForm1::PrevButtonClick);
    connect(NextButton, &QPushButton::clicked, this, &TForm1::NextButtonClick);
    connect(ExitButton, &QPushButton::clicked, this, &TForm1::ExitButtonClick);

    connect(BGColorButtons, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) BGColorRadioGroupClick();
    });
    connect(SingleShadeBgCheckBox, &QCheckBox::toggled, this, &TForm1::SingleShadeBgCheckBoxClick);
    connect(TwoColorCheckBox, &QCheckBox::toggled, this, &TForm1::TwoColorCheckBoxClick);
    connect(TwoColCheckBox, &QCheckBox::toggled, this, &TForm1::TwoColCheckBoxClick);
    connect(ResetToStartupDefaultsButton, &QPushButton::clicked, this,
            &TForm1::ResetToStartupDefaultsButtonClick);

    connect(IndexLoadButton, &QPushButton::clicked, this, &TForm1::IndexLoadButtonClick);

    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, &TForm1::onFocusChanged);

    // Size changes: the client area lays the window out; the page stacks
    // carry their size to every page, shown or not.
    client_->installEventFilter(this);
    for (QTabWidget* pages : {PageControl1, PageControl2})
        if (auto* stack = pages->findChild<QStackedWidget*>()) stack->installEventFilter(this);
    ReadTabSheet->installEventFilter(this);
    Image1->installEventFilter(this);

    keyPreview_ = std::make_unique<KeyPreviewFilter>(*this);
    qApp->installEventFilter(keyPreview_.get());
}

// ---------------------------------------------------------------- events

bool TForm1::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) firstActivation();
    if (e->type() == QEvent::Move || e->type() == QEvent::Show) fitOuterBounds();
    if ((e->type() == QEvent::Move || e->type() == QEvent::Resize) && windowState() == Qt::WindowNoState) {
        const QRect inner = geometry(), outer = frameGeometry();
        normalFrame_ = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                                outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    if (e->type() == QEvent::WindowStateChange && FullScreenItem) {
        const QSignalBlocker quiet(FullScreenItem);
        FullScreenItem->setChecked(isFullScreen());
    }
    return QMainWindow::event(e);
}

void TForm1::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    // A window the desktop does not activate still gets its first activation
    // once it is on screen.
    if (!activated_ && !activationQueued_) {
        activationQueued_ = true;
        QTimer::singleShot(0, this, &TForm1::firstActivation);
    }
}

void TForm1::closeEvent(QCloseEvent* e) {
    FormClose();
    e->accept();
}

bool TForm1::eventFilter(QObject* watched, QEvent* e) {
    // The tree's events come only once it is built.
    const QWidget* treeArea = TOCTreeView ? TOCTreeView->viewport() : nullptr;
    if (watched == treeArea &&
        (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        treeMouseDown_ = true;
        return false;
    }
    if (watched == treeArea && e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        treeMouseDown_ = false;
        if (swallowTreeRelease_)
            swallowTreeRelease_ = false;
        else
            QTimer::singleShot(0, this, &TForm1::TOCTreeViewClick);
        return false;
    }
    if (watched == TOCTreeView && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter opens the selected row as a click on it does.
            state().TreeToggled = false;
            TOCTreeViewClick();
            return true;
        }
        if (key == Qt::Key_Delete && session_->selectedOwnBook()) {
            RemoveBookItemClick();
            return true;
        }
    }
    if (watched == Image1 && e->type() == QEvent::Wheel) {
        readingSurfaceWheel(*static_cast<QWheelEvent*>(e));
        return true;
    }
    if (watched == client_) {
        if (e->type() == QEvent::Resize) FormResize();
        if (e->type() == QEvent::Paint) return WMEraseBkgnd() == 0;
    } else if (watched == ReadTabSheet) {
        if (e->type() == QEvent::Resize) readPageMaybeResized();
    } else if (e->type() == QEvent::Resize) {
        for (QTabWidget* pages : {PageControl1, PageControl2})
            if (watched->parent() == pages) syncPages(pages);
    }
    return QMainWindow::eventFilter(watched, e);
}

bool TForm1::previewKey(QObject* watched, QEvent* e) {
    // Only key presses: the ShortcutOverride query that comes before a key
    // press goes on, so an accelerator reaches Qt's shortcut map and runs its
    // menu item; its key press is then never delivered.
    if (e->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    if (static_cast<QWidget*>(watched)->window() != this) return false;
    const auto* press = static_cast<QKeyEvent*>(e);
    int key = virtualKeyOf(press->key());
    if (key == 0) return false;
    FormKeyDown(key);
    // The reading surface pages on Space and the arrows too.
    if (key != 0 && PageControl1->currentWidget() == ReadTabSheet &&
        within(QApplication::focusWidget(), ReadTabSheet))
        session_->paging().ReadingKeyDown(key, press->modifiers() & Qt::ShiftModifier);
    // A key acted on is consumed; every other key reaches the focused widget.
    return key == 0;
}

void TForm1::onFocusChanged(QWidget* old, QWidget* now) {
    if (within(now, ReadTabSheet) && !within(old, ReadTabSheet)) ReadTabSheetEnter();
    if (within(now, ControlsTabSheet) && !within(old, ControlsTabSheet)) ControlsTabSheetEnter();
}

void TForm1::firstActivation() {
    if (activated_) return;
    fitOuterBounds();
    FormActivate();
}

// The settings give the window's outer bounds, frame included, but the frame
// is known only once the window manager has framed the window, which may be
// after the first activation. The first time it is known, the window is
// resized once so that its outer bounds are those asked for; a window that
// is never framed keeps its bounds as they are.
void TForm1::fitOuterBounds() {
    if (outerFitted_) return;
    const QSize extra = frameExtra();
    if (extra.isNull()) return;
    outerFitted_ = true;
    applyMinimumSize();
    resize(requestedOuter_.size() - extra);
}

// ---------------------------------------------------------------- bounds

QSize TForm1::frameExtra() const {
    return frameGeometry().size() - geometry().size();
}

void TForm1::applyMinimumSize() {
    setMinimumSize(kMinimumOuterSize - frameExtra());
}

QRect TForm1::outerBounds() const {
    return frameGeometry();
}

QRect TForm1::normalOuterBounds() const {
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) return outerBounds();
    const QRect normal = normalGeometry();
    return normal.isValid() ? normal.marginsAdded(normalFrame_) : requestedOuter_;
}

void TForm1::setOuterBounds(const QRect& bounds) {
    requestedOuter_ = bounds;
    move(bounds.topLeft());
    resize(bounds.size() - frameExtra());
}

void TForm1::syncPages(QTabWidget* pages) {
    const QWidget* shown = pages->currentWidget();
    if (!shown) return;
    const QRect area = shown->geometry();
    for (int k = 0; k < pages->count(); ++k) {
        QWidget* page = pages->widget(k);
        if (page->geometry() != area) page->setGeometry(area);
    }
    alignPageContents();
    readPageMaybeResized();
}

void TForm1::alignPageContents() {
    if (TOCTreeView) TOCTreeView->setGeometry(TOCTabSheet->rect());
    // The label docks to the page's bottom edge; the tree fills what is left.
    const QRect index = IndexTabSheet->rect();
    const int docked = SearchingIndexLabel->isVisibleTo(IndexTabSheet) ? 20 : 0;
    SearchingIndexLabel->setGeometry(0, index.height() - 20, index.width(), 20);
    if (InxTreeView) InxTreeView->setGeometry(0, 0, index.width(), index.height() - docked);
}

void TForm1::readPageMaybeResized() {
    if (ReadTabSheet->size() == readPageSize_) return;
    readPageSize_ = ReadTabSheet->size();
    ReadTabSheetResize();
}

// ---------------------------------------------------------------- PanelControls

void TForm1::setPrevEnabled(bool enabled) {
    PrevButton->setEnabled(enabled);
}
void TForm1::setNextEnabled(bool enabled) {
    NextButton->setEnabled(enabled);
}
void TForm1::setPositionCaption(const std::string& caption) {
    PosLabel->setText(QString::fromLatin1(caption));
}

void TForm1::setProgress(std::int32_t maximum, std::int32_t position) {
    BookPosProgressBar->setRange(0, maximum);
    BookPosProgressBar->setValue(position);
}

bool TForm1::twoColumns() const {
    return TwoColCheckBox->isChecked();
}

void TForm1::setPathCaptions(const std::string& bookmarkPath, const std::string& settingsPath,
                             const std::string& tocPath) {
    Label2->setText(QFile::decodeName(bookmarkPath.c_str()));
    Label3->setText(QFile::decodeName(settingsPath.c_str()));
    Label4->setText(QFile::decodeName(tocPath.c_str()));
}

int TForm1::bgColorItemIndex() const {
    return BGColorButtons->checkedId();
}

void TForm1::setBGColorItemIndex(int index) {
    if (QAbstractButton* item = BGColorButtons->button(index)) {
        item->setChecked(true);
        return;
    }
    // No item selected: an exclusive group cannot uncheck its last button.
    if (QAbstractButton* checked = BGColorButtons->checkedButton()) {
        BGColorButtons->setExclusive(false);
        checked->setChecked(false);
        BGColorButtons->setExclusive(true);
    }
}

// ---------------------------------------------------------------- the window's handlers

void TForm1::ClearSurfaces() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->geometry().size() : QSize(1024, 768);
    const qreal dpr = screen ? screen->devicePixelRatio() : 1.0;
    // Each canvas is as large as the screen; its picture is made at the
    // widget's size when first needed and grows with it.
    const auto clear = [&](ReadingSurface* image, Colour colour) {
        QtSurface& surface = image->surface();
        surface.create(size, dpr);
        surface.fillColour = colour;
        surface.fillRect(0, 0, size.width(), size.height());
    };
    clear(ProgramIcon, kWhite);
    clear(Image1, kSilver);
}

void TForm1::FormResize() {
    const int cw = client_->width();
    const int ch = client_->height();

    // Image1 fills the Reading page whatever size it is given.
    Image1->setGeometry(ReadTabSheet->rect());

    const bool panelShown = HideControlPanelItem->isVisible();
    const int leftWidth = panelShown ? cw - kControlPanelWidth : cw;
    PageControl1->setGeometry(0, 0, leftWidth, ch);
    PageControl2->setGeometry(leftWidth, 0, panelShown ? kControlPanelWidth : 0, ch);

    // The About page.
    const int w = PageControl1->width();
    const int s = w / 2;
    ProgramIcon->setGeometry(0, 0, s, s);
    DemoVerLabel->move((w - DemoVerLabel->width()) / 2, ProgramIcon->height() + OKButton->height() + 16);
    BookTitleLabel->move(DemoVerLabel->x(), DemoVerLabel->y() + DemoVerLabel->height());
    BuyMemo->setGeometry(0, BookTitleLabel->y() + BookTitleLabel->height() + 4, w - 8, BuyMemo->height());
    Memo1->setGeometry(s, 0, s, s);
    ProgramIcon->surface().stretchDraw(QRect(0, 0, ProgramIcon->width(), ProgramIcon->height()),
                                       Image3->surface().image());
    OKButton->move(Memo1->x() - OKButton->width() / 2, Memo1->height() + 8);
    BuyMemo->clear();
    BuyMemo->setPlainText(utf8(kOrderingNotice));

    state().NextLine = state().TopLine;
    // A text opened before the window had its size (named on the command
    // line) may stand at its end: the laid-out window shows its last panel.
    state().NextLine = session_->paging().ShowLine(state().TopLine);
}

void TForm1::FormActivate() {
    if (activated_) return;  // once per run: later activations change nothing
    activated_ = true;

    FormResize();
    ExitButton->setVisible(true);
    IndexMemo->setPlainText(memoLines(Memo2).join(QLatin1Char('\n')));
    PageControl2->setCurrentWidget(ControlsTabSheet);
    if (!state().CurrentText) state().CurrentText = LineList();
    if (!state().OpenFileName.empty()) {
        // A text named on the command line is already open: it keeps the
        // panel its opening chose, and no instructions follow its last line.
        Redraw();
        return;
    }
    state().CurrentText->append(startupInstructions());
    state().NextLine = session_->renderer().DrawPanel(0);
}

void TForm1::OKButtonClick() {
    PageControl1->setCurrentWidget(TOCTabSheet);
}

int TForm1::WMEraseBkgnd() {
    return 0;
}

void TForm1::ReadTabSheetResize() {
    Image1->setGeometry(0, 0, ReadTabSheet->width(), ReadTabSheet->height());
    Redraw();
}

void TForm1::ReadTabSheetEnter() {
    PageControl2->setCurrentWidget(ControlsTabSheet);
}

void TForm1::ControlsTabSheetEnter() {
    PageControl1->setCurrentWidget(ReadTabSheet);
}

void TForm1::HideControlPanelItemClick() {
    HideControlPanelItem->setVisible(false);
    ShowControlPanelItem->setVisible(true);
    FormResize();
}

void TForm1::ShowControlPanelItemClick() {
    HideControlPanelItem->setVisible(true);
    ShowControlPanelItem->setVisible(false);
    FormResize();
}

void TForm1::HempMenuClick() {
    prompter_->information(utf8(kReadmeNotice));
}

void TForm1::Redraw() {
    session_->renderer().Redraw();
}

// ---------------------------------------------------------------- paging

void TForm1::NextButtonClick() {
    session_->paging().NextButtonClick();
}
void TForm1::PrevButtonClick() {
    session_->paging().PrevButtonClick();
}
void TForm1::FormKeyDown(int& key) {
    session_->paging().FormKeyDown(key);
}
void TForm1::TwoColCheckBoxClick() {
    session_->paging().TwoColCheckBoxClick();
}

// ---------------------------------------------------------------- colours and font size

void TForm1::BGColorRadioGroupClick() {
    session_->options().BGColorRadioGroupClick();
}
void TForm1::TwoColorCheckBoxClick() {
    session_->options().TwoColorCheckBoxClick();
}
void TForm1::SingleShadeBgCheckBoxClick() {
    session_->options().SingleShadeBgCheckBoxClick();
}
void TForm1::FontSizeTrackBarChange() {
    session_->options().FontSizeTrackBarChange();
}
void TForm1::FontSizeUpDownClick() {
    session_->options().FontSizeUpDownClick(FontSizeUpDown->value());
}

int TForm1::schemeSelection() const {
    return bgColorItemIndex();
}
bool TForm1::noColouredTextChecked() const {
    return TwoColorCheckBox->isChecked();
}
bool TForm1::singleShadeChecked() const {
    return SingleShadeBgCheckBox->isChecked();
}
int TForm1::fontSizePosition() const {
    return FontSizeTrackBar->value();
}

void TForm1::setFontSizeCaption(const std::string& caption) {
    FontSizeLabel->setText(QString::fromLatin1(caption));
}

void TForm1::setFontSizeSpinner(int position) {
    // Moving the spinner from code is no click of it.
    const QSignalBlocker quiet(FontSizeUpDown);
    FontSizeUpDown->setValue(position);
}

void TForm1::setFontSizePosition(int position) {
    FontSizeTrackBar->setValue(position);
}

void TForm1::setTreeFontSize(int points) {
    pendingContents_.fontPixels = QtSurface::pointsToPixels(points);
    if (!TOCTreeView) return;
    QFont treeFont = TOCTreeView->font();
    treeFont.setPixelSize(pendingContents_.fontPixels);
    TOCTreeView->setFont(treeFont);
}

// ---------------------------------------------------------------- start-up and shut-down

namespace {

QSize primaryScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

void TForm1::FormCreate() {
    ClearSurfaces();
    StartupPlaces places;
    places.programPath = localPath(QCoreApplication::applicationFilePath());
    places.dataFolder = localPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                                  QStringLiteral("/") + QString::fromUtf8(kDataFolderName));
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 2 && !args.at(1).isEmpty()) places.commandLineFile = localPath(args.at(1));
    session_->start(places);
}

namespace {

// Stored bounds that would put the window off every screen are brought back
// onto the screen holding most of it (the primary one when none does), no
// larger than its available area; so is a window larger than all screens
// together. A window whose title bar can be reached on some screen stays as
// it was stored, spanning screens or partly off one as the reader left it.
QRect keptOnScreen(QRect bounds, QSize minimum) {
    QScreen* best = nullptr;
    qint64 bestArea = 0;
    QRect desktop;
    bool reachable = false;
    // The top strip where the window manager puts the title bar.
    const QRect titleBar(bounds.left(), bounds.top(), bounds.width(), std::min(bounds.height(), 30));
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        desktop |= area;
        const QRect shared = area & titleBar;
        if (shared.width() >= std::min(100, bounds.width()) && !shared.isEmpty()) reachable = true;
        const QRect inside = area & bounds;
        const qint64 size = qint64(inside.width()) * inside.height();
        if (!inside.isEmpty() && size > bestArea) {
            best = screen;
            bestArea = size;
        }
    }
    if (!best) best = QGuiApplication::primaryScreen();
    if (!best) return bounds;
    const bool tooLarge = bounds.width() > desktop.width() || bounds.height() > desktop.height();
    if (reachable && !tooLarge) return bounds;
    const QRect area = best->availableGeometry();
    bounds.setWidth(std::max(std::min(bounds.width(), area.width()), minimum.width()));
    bounds.setHeight(std::max(std::min(bounds.height(), area.height()), minimum.height()));
    // Whole inside the area where it fits; otherwise its top left corner,
    // with the title bar, stays reachable.
    const int left = std::max(std::min(bounds.left(), area.right() + 1 - bounds.width()), area.left());
    const int top = std::max(std::min(bounds.top(), area.bottom() + 1 - bounds.height()), area.top());
    bounds.moveTo(left, top);
    return bounds;
}

}  // namespace

ScreenSize TForm1::screenSize() const {
    const QSize size = primaryScreenSize();
    return {size.width(), size.height()};
}

bool TForm1::placeWindow(const WindowBounds& stored) {
    const QRect bounds(stored.left, stored.top, stored.width, stored.height);
    const QRect onScreen = keptOnScreen(bounds, kMinimumOuterSize);
    setOuterBounds(onScreen);
    return onScreen == bounds;
}

WindowBounds TForm1::normalBounds() const {
    const QRect bounds = normalOuterBounds();
    return {bounds.left(), bounds.top(), bounds.width(), bounds.height()};
}

// Each box runs its handler when its state changes.
void TForm1::setTwoColorChecked(bool checked) {
    TwoColorCheckBox->setChecked(checked);
}
void TForm1::setSingleShadeChecked(bool checked) {
    SingleShadeBgCheckBox->setChecked(checked);
}
void TForm1::setTwoColumnsChecked(bool checked) {
    TwoColCheckBox->setChecked(checked);
}

void TForm1::settingsLoaded() {
    ExitButton->setVisible(true);
    BMMenu->menuAction()->setVisible(true);
}

void TForm1::LoadSettings() {
    session_->LoadSettings();
}
void TForm1::SaveWindowSettings() {
    session_->SaveWindowSettings();
}
void TForm1::BuildCatalogue() {
    session_->BuildCatalogue();
}

void TForm1::ResetToStartupDefaultsButtonClick() {
    session_->ResetToStartupDefaults();
}

void TForm1::setApplicationTitle(const std::string& title) {
    QCoreApplication::setApplicationName(QString::fromLatin1(title));
}

void TForm1::showCatalogue(const std::vector<CatalogueNode>& nodes) {
    if (TOCTreeView) {
        TOCTreeView->clear();
        fillTree(TOCTreeView, nodes);
        return;
    }
    pendingContents_.nodes = nodes;
    pendingContents_.expanded.clear();
    pendingContents_.current.reset();
    updateRemoveBookItem();
}

void TForm1::expandAndSelectNode(std::int32_t index) {
    if (TOCTreeView) {
        if (QTreeWidgetItem* item = itemAtAbsoluteIndex(TOCTreeView, index)) {
            item->setExpanded(true);
            TOCTreeView->setCurrentItem(item);
        }
        return;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= pendingContents_.nodes.size()) return;
    pendingContents_.expanded.push_back(index);
    pendingContents_.current = index;
    updateRemoveBookItem();
}

void TForm1::updateRemoveBookItem() {
    RemoveBookItem->setEnabled(session_->selectedOwnBook() != nullptr);
}

void TForm1::FormClose() {
    session_->close();
}

// ---------------------------------------------------------------- the contents tree

std::optional<std::int32_t> TForm1::selectedNodeIndex() const {
    if (!TOCTreeView) return pendingContents_.current;
    QTreeWidgetItem* item = TOCTreeView->currentItem();
    if (!item) return std::nullopt;
    return absoluteIndex(TOCTreeView, item);
}

void TForm1::setCaption(const std::string& caption) {
    setWindowTitle(QString::fromLatin1(caption));
}

void TForm1::setOpenDialogFileName(const std::string& name) {
    openDialogFileName_ = QFile::decodeName(name.c_str());
}

void TForm1::setIndexTabVisible(bool visible) {
    PageControl2->setTabVisible(PageControl2->indexOf(IndexTabSheet), visible);
}

void TForm1::resetIndexPage() {
    IndexPanel->setVisible(true);
    if (!InxTreeView) return;
    InxTreeView->setVisible(false);
    InxTreeView->clear();
}

void TForm1::showReadingPage() {
    PageControl1->setCurrentWidget(ReadTabSheet);
}

void TForm1::PageControl1Change() {
    // The page on show takes the keyboard: the reading surface for paging,
    // the tree for moving through the contents. A reader going through the
    // tabs with the arrow keys keeps the focus on the tab row.
    // The contents tree is built as its page first comes on show.
    if (PageControl1->currentWidget() == TOCTabSheet) tocTree();
    if (PageControl1->tabBar()->hasFocus()) return;
    // Focus in the control panel stays there: entering the Control page
    // brings the Reading page forward, and the slider keeps its arrows.
    if (QWidget* focus = QApplication::focusWidget(); focus && !within(focus, PageControl1)) return;
    if (PageControl1->currentWidget() == ReadTabSheet)
        Image1->setFocus(Qt::OtherFocusReason);
    else if (PageControl1->currentWidget() == TOCTabSheet)
        tocTree()->setFocus(Qt::OtherFocusReason);
}

void TForm1::TOCTreeViewClick() {
    session_->contentsTreeClicked();
}
void TForm1::TOCTreeViewDblClick() {
    session_->contentsTreeDoubleClicked();
}
// Only a branch the reader toggles with the mouse is followed by a click on
// the same press, which must not open the row; expansions made by the
// program (at start-up) or from the keyboard mark nothing, so the reader's
// next click acts.
void TForm1::TOCTreeViewExpanded() {
    if (treeMouseDown_) session_->catalogue().TOCTreeViewExpanded();
}
void TForm1::TOCTreeViewCollapsed() {
    if (treeMouseDown_) session_->catalogue().TOCTreeViewCollapsed();
}

// ---------------------------------------------------------------- bookmarks

void TForm1::setDeleteAndGotoEnabled(bool enabled) {
    BMDeleteItem->setEnabled(enabled);
    BMGOItem->setEnabled(enabled);
}

std::optional<std::string> TForm1::askBookmarkName() {
    const std::optional<QString> name = prompter_->bookmarkName();
    if (!name) return std::nullopt;
    return name->toLatin1().toStdString();
}

void TForm1::endBusy() {
    if (!busy_) return;
    busy_ = false;
    QApplication::restoreOverrideCursor();
}

void TForm1::notice(const std::string& text) {
    endBusy();
    prompter_->information(QString::fromLatin1(text));
}

void TForm1::error(const std::string& text) {
    endBusy();
    prompter_->critical(QString::fromLocal8Bit(text.c_str()));
}

bool TForm1::askYesNo(const std::string& message, const std::string& title) {
    endBusy();
    return prompter_->question(QString::fromLatin1(message), QString::fromLatin1(title));
}

LocalDateTime TForm1::now() {
    const QDateTime at = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    LocalDateTime t;
    t.date = locale.toString(at.date(), QLocale::ShortFormat).toLatin1().toStdString();
    // The long time format, without a time zone.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t')).remove(QLatin1Char('T'));
    t.time = locale.toString(at.time(), timeFormat.trimmed()).toLatin1().toStdString();
    t.midnight = at.time().hour() == 0 && at.time().minute() == 0 && at.time().second() == 0;
    return t;
}

void TForm1::BMMenuClick() {
    session_->bookmarks().BMMenuClick();
}
void TForm1::BMAddItemClick() {
    session_->bookmarks().BMAddItemClick();
}

namespace {

// Fills the popup with one item per listed bookmark and shows it; returns
// the position of the item chosen, or -1.
int choosePopupItem(QMenu* popup, const std::vector<std::string>& captions, const QPoint& at) {
    popup->clear();
    for (const auto& caption : captions) popup->addAction(QString::fromLatin1(caption));
    QAction* chosen = popup->actions().isEmpty() ? nullptr : popup->exec(at);
    return chosen ? static_cast<int>(popup->actions().indexOf(chosen)) : -1;
}

}  // namespace

// The bookmarks of the open book in a popup beside the control panel; the
// position of the one chosen, or -1.
int TForm1::chooseBookmark() {
    session_->bookmarks().FillBookmarkPopup();
    const QPoint at(frameGeometry().left() + PageControl2->x() - 100, frameGeometry().top());
    return choosePopupItem(BMPopupMenu, session_->bookmarks().popupCaptions(), at);
}

void TForm1::BMDeleteItemClick() {
    if (const int k = chooseBookmark(); k >= 0) session_->bookmarks().BMDeletePopupHandler(k);
}

void TForm1::BMGOItemClick() {
    if (const int k = chooseBookmark(); k >= 0) session_->bookmarks().BMGotoPopupHandler(k);
}

// ---------------------------------------------------------------- search

TFindDialog* TForm1::findDialog() {
    // Made the first time it is needed: the first screen does without it.
    if (!FindDialog1) {
        FindDialog1 = new TFindDialog(this);
        connect(FindDialog1, &TFindDialog::find, this, &TForm1::FindDialog1Find);
        nameByCaption(FindDialog1);
    }
    return FindDialog1;
}

void TForm1::FindItemClick() {
    findDialog()->showAt(frameGeometry().topLeft() + QPoint(50, 50));
}

void TForm1::FindDialog1Find() {
    session_->search().FindDialog1Find();
}

void TForm1::findNextInDirection(int direction) {
    findDialog()->setDirectionOverride(direction);
    session_->search().FindDialog1Find();
    FindDialog1->setDirectionOverride(0);
}

QRect TForm1::foundLineArea() const {
    const auto box = session_->renderer().lineBox(state().SearchFound);
    if (!box) return {};
    const QRect onSurface(QPoint(box->left, box->top), QPoint(box->right - 1, box->bottom - 1));
    return onSurface.translated(Image1->mapToGlobal(QPoint(0, 0)));
}

// ---------------------------------------------------------------- the word index

void TForm1::IndexLoadButtonClick() {
    if (!session_->hasWordIndex()) return;
    LoadingIndexLabel->setVisible(true);
    IndexLoadButton->setEnabled(false);
    LoadingIndexLabel->repaint();
    const std::vector<IndexNode> nodes = session_->loadWordIndex();
    LoadingIndexLabel->setVisible(false);
    IndexLoadButton->setEnabled(true);
    showIndexTree(nodes);
}

void TForm1::showIndexTree(const std::vector<IndexNode>& nodes) {
    QTreeWidget* tree = indexTree();
    tree->setUpdatesEnabled(false);
    tree->clear();
    fillTree(tree, nodes);
    tree->setUpdatesEnabled(true);
    IndexPanel->setVisible(false);
    tree->setVisible(true);
    if (QTreeWidgetItem* first = itemAtAbsoluteIndex(tree, 1)) tree->setCurrentItem(first);
}

void TForm1::InxTreeViewClick() {
    SearchingIndexLabel->setVisible(true);
    alignPageContents();
    SearchingIndexLabel->repaint();
    std::optional<std::string> selected;
    if (QTreeWidgetItem* item = InxTreeView->currentItem()) selected = item->text(0).toLatin1().toStdString();
    session_->followIndexEntry(selected);
    SearchingIndexLabel->setVisible(false);
    alignPageContents();
}

// ---------------------------------------------------------------- save screen

void TForm1::SaveScreenItemClick() {
    const QString name = prompter_->saveFileName(saveDialogFileName_);
    if (name.isEmpty()) return;
    saveDialogFileName_ = name;
    session_->saveScreen(localPath(name));
}

// ---------------------------------------------------------------- the two disabled File items

void TForm1::OpenQTXItemClick() {
    const QString name =
        QFileDialog::getOpenFileName(this, QStringLiteral("Open Stilo(tm) Document"), openDialogFileName_,
                                     QStringLiteral("Stilo(tm) File (*.qtx)"));
    if (!name.isEmpty()) openDialogFileName_ = name;
    if (openDialogFileName_.isEmpty()) return;
    PageControl1->setCurrentWidget(ReadTabSheet);
    BMMenu->menuAction()->setVisible(false);
    session_->openTextFile(localPath(openDialogFileName_));
}

void TForm1::OpenTOCItemClick() {
    const QString name =
        QFileDialog::getOpenFileName(this, QStringLiteral("Open Stilo(tm) Book"), openDialogFileName_,
                                     QStringLiteral("Table of Contents (*.toc *.cdb)"));
    if (!name.isEmpty()) openDialogFileName_ = name;
    if (openDialogFileName_.isEmpty()) return;
    BMMenu->menuAction()->setVisible(true);
    session_->OpenContentsFile(localPath(openDialogFileName_));
    PageControl1->setCurrentWidget(TOCTabSheet);
}

// ---------------------------------------------------------------- My Books

void TForm1::ImportBookItemClick() {
    const QString name = prompter_->importFileName(importFolder_);
    if (name.isEmpty()) return;
    importFolder_ = QFileInfo(name).absolutePath();
    PageControl1->setCurrentWidget(TOCTabSheet);
    // A large book takes a moment to lay out; a message ends the wait.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    busy_ = true;
    session_->importBook(localPath(name));
    endBusy();
}

void TForm1::RemoveBookItemClick() {
    // The tree is filled again and its current row set: the item's state
    // follows the new row.
    (void)session_->removeSelectedBook();
}

void TForm1::ExitItemClick() {
    close();
}
void TForm1::ExitButtonClick() {
    close();
}

}  // namespace varnet::ui

// ---------------------------------------------------------------- accelerators, wheel, accessibility

namespace varnet::ui {

void TForm1::setAccelerators() {
    FindItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    FindNextItem->setShortcut(QKeySequence(Qt::Key_F3));
    FindPreviousItem->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    // The bookmark items work on the section that dropping the Bookmarks menu
    // down finds for the text on show. Their accelerators therefore do what
    // the menu does first: a window shortcut runs the menu's drop-down step,
    // then the item when it is enabled. The items keep their keys, bound to
    // the open menu only, so that the menu shows them.
    const auto bookmarkAccelerator = [this](QAction* menuItem, const QKeySequence& keys) {
        menuItem->setShortcut(keys);
        menuItem->setShortcutContext(Qt::WidgetShortcut);
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [this, menuItem] {
            // A section header that could not be saved has been reported;
            // the item does not run on top of that failure.
            if (session_->bookmarks().BMMenuClick() == Bookmarks::SectionLoad::saveFailed) return;
            if (menuItem->isEnabled()) menuItem->trigger();
        });
    };
    bookmarkAccelerator(BMAddItem, QKeySequence(Qt::CTRL | Qt::Key_B));
    bookmarkAccelerator(BMGOItem, QKeySequence(Qt::CTRL | Qt::Key_G));
    SaveScreenItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    ImportBookItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    ExitItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    FullScreenItem->setShortcut(QKeySequence(Qt::Key_F11));
    // Ctrl+= too: on many keyboards "+" is a shifted "=".
    LargerTextItem->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    SmallerTextItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    // Finding the next match works from the open Find dialog as well.
    FindNextItem->setShortcutContext(Qt::ApplicationShortcut);
    FindPreviousItem->setShortcutContext(Qt::ApplicationShortcut);
}

void TForm1::FullScreenItemClick(bool on) {
    if (on)
        showFullScreen();
    else
        showNormal();
}

void TForm1::fontSizeStep(int step) {
    FontSizeTrackBar->triggerAction(step > 0 ? QAbstractSlider::SliderSingleStepAdd
                                             : QAbstractSlider::SliderSingleStepSub);
}

void TForm1::readingSurfaceWheel(QWheelEvent& wheel) {
    wheel.accept();
    // A notch is 120 eighths of a degree; finer wheels and touchpads add up
    // to a notch before the panel moves.
    constexpr int kNotch = 120;
    wheelTurned_ += wheel.angleDelta().y();
    while (wheelTurned_ <= -kNotch) {
        wheelTurned_ += kNotch;
        session_->paging().PageForward();
    }
    while (wheelTurned_ >= kNotch) {
        wheelTurned_ -= kNotch;
        session_->paging().PageBack();
    }
}

void TForm1::panelDrawn() {
    if (panelTextQueued_) return;
    panelTextQueued_ = true;
    QTimer::singleShot(0, this, &TForm1::updatePanelText);
}

void TForm1::updatePanelText() {
    panelTextQueued_ = false;
    QStringList lines;
    // The lines on show only: NextLine is the first line not drawn.
    const LineList panel =
        state().CurrentText ? screenLinesToSave(*state().CurrentText, state().TopLine, state().NextLine - 1)
                            : LineList();
    for (std::int32_t k = 0; k < panel.count(); ++k) {
        const QString words = QString::fromLatin1(panel[k]).trimmed();
        if (!words.isEmpty()) lines << words;
    }
    Image1->setPanelText(lines.join(QLatin1Char('\n')));
}

// Names each widget under root that has none by its caption: a button's
// text, a group's title, a label's text, a menu's title, a page's tab.
void TForm1::nameByCaption(QWidget* root) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || !w->accessibleName().isEmpty()) continue;
        QString name;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            name = b->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            name = g->title();
        else if (auto* l = qobject_cast<QLabel*>(w))
            name = l->text();
        else if (auto* m = qobject_cast<QMenu*>(w))
            name = m->title();
        for (QTabWidget* pages : {PageControl1, PageControl2})
            if (const int k = pages->indexOf(w); k >= 0) name = pages->tabText(k);
        if (!name.trimmed().isEmpty()) w->setAccessibleName(name.trimmed());
    }
}

void TForm1::nameWidgetsForAccessibility() {
    // Each widget is named by its caption; widgets without one by the page
    // or the label they belong to.
    nameByCaption(this);
    const auto pageName = [](QTabWidget* pages, QWidget* page) {
        return pages->tabText(pages->indexOf(page));
    };
    IndexPanel->setAccessibleName(pageName(PageControl2, IndexTabSheet));
    PageControl1->setAccessibleName(pageName(PageControl1, ReadTabSheet));
    PageControl2->setAccessibleName(pageName(PageControl2, ControlsTabSheet));
    Memo1->setAccessibleName(pageName(PageControl1, AboutTabSheet));
    BuyMemo->setAccessibleName(utf8(kDemoVerLabel));
    IndexMemo->setAccessibleName(utf8(kIndexLoadButton));
    Memo2->setAccessibleName(utf8(kIndexLoadButton));
    BookPosProgressBar->setAccessibleName(utf8(kReadingPositionLabel));
    PosLabel->setAccessibleName(utf8(kReadingPositionLabel));
    FontSizeTrackBar->setAccessibleName(utf8(kFontSizeName));
    FontSizeUpDown->setAccessibleName(utf8(kFontSizeName));
    FontSizeLabel->setAccessibleName(utf8(kFontSizeName));
    for (QLabel* l : {Label2, Label3, Label4}) l->setAccessibleName(utf8(kPathLabelName));
    client_->setAccessibleName(utf8(kWindowCaption));
    MainMenu1->setAccessibleName(utf8(kWindowCaption));
    BMPopupMenu->setAccessibleName(utf8(kBMMenu));
    ProgramIcon->setAccessibleName(utf8(kLogoName));
    Image3->setAccessibleName(utf8(kLogoName));
    LogoHoldingTabSheet->setAccessibleName(utf8(kLogoName));
    Image1->setAccessibleName(windowTitle());
}

}  // namespace varnet::ui
