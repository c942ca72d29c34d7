// The main window's widgets as the window definition gives them: menus, the
// two page controls and their pages, and the logo. The handlers live in
// TForm1.cpp.
#include "TForm1.h"
#include "TreeFill.h"
#include "WidgetHelpers.h"

#include "BuiltinTexts.h"
#include "UiTexts.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDataStream>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include <cstring>

#ifndef VARNET_VERSION
#define VARNET_VERSION "0"
#endif

namespace varnet::ui {

// The logo as rendered at build time at the given size: its pixels, zlib
// packed after the width and height, so no image decoder is started.
QImage builtInLogo(int pixels) {
    QFile file(QStringLiteral(":/varnet/logo-%1.zraw").arg(pixels));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray raw = qUncompress(file.readAll());
    QDataStream in(raw);
    qint32 width = 0, height = 0;
    in >> width >> height;
    const qsizetype bytes = qsizetype(width) * height * 4;
    if (width <= 0 || height <= 0 || raw.size() != 8 + bytes) return {};
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    std::memcpy(image.bits(), raw.constData() + 8, static_cast<std::size_t>(bytes));
    return image;
}

// ---------------------------------------------------------------- building

void TForm1::buildMenus() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    auto item = [this](QMenu* menu, const char* name, const char* caption) {
        QAction* a = menu->addAction(utf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    auto separator = [](QMenu* menu, const char* name) {
        QAction* a = menu->addSeparator();
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    auto menu = [this](const char* name, const char* caption) {
        QMenu* m = MainMenu1->addMenu(utf8(caption));
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };

    FileMenu = menu("FileMenu", kFileMenu);
    OpenQTXItem = item(FileMenu, "OpenQTXItem", kOpenQTXItem);
    OpenQTXItem->setEnabled(false);
    OpenTOCItem = item(FileMenu, "OpenTOCItem", kOpenTOCItem);
    OpenTOCItem->setEnabled(false);
    ImportBookItem = item(FileMenu, "ImportBookItem", kImportBookItem);
    RemoveBookItem = item(FileMenu, "RemoveBookItem", kRemoveBookItem);
    RemoveBookItem->setEnabled(false);
    N1 = separator(FileMenu, "N1");
    SaveScreenItem = item(FileMenu, "SaveScreenItem", kSaveScreenItem);
    N3 = separator(FileMenu, "N3");
    ExitItem = item(FileMenu, "ExitItem", kExitItem);

    SearchMenu = menu("SearchMenu", kSearchMenu);
    FindItem = item(SearchMenu, "FindItem", kFindItem);
    FindNextItem = item(SearchMenu, "FindNextItem", kFindNextItem);
    FindPreviousItem = item(SearchMenu, "FindPreviousItem", kFindPreviousItem);

    BMMenu = menu("BMMenu", kBMMenu);
    BMAddItem = item(BMMenu, "BMAddItem", kBMAddItem);
    BMDeleteItem = item(BMMenu, "BMDeleteItem", kBMDeleteItem);
    N2 = separator(BMMenu, "N2");
    BMGOItem = item(BMMenu, "BMGOItem", kBMGOItem);

    ViewMenu = menu("ViewMenu", kViewMenu);
    HideControlPanelItem = item(ViewMenu, "HideControlPanelItem", kHideControlPanelItem);
    ShowControlPanelItem = item(ViewMenu, "ShowControlPanelItem", kShowControlPanelItem);
    ShowControlPanelItem->setVisible(false);
    FullScreenItem = item(ViewMenu, "FullScreenItem", kFullScreenItem);
    FullScreenItem->setCheckable(true);
    separator(ViewMenu, "N4");
    LargerTextItem = item(ViewMenu, "LargerTextItem", kLargerTextItem);
    SmallerTextItem = item(ViewMenu, "SmallerTextItem", kSmallerTextItem);

    HempMenu = menu("HempMenu", kHempMenu);
    AboutItem = item(HempMenu, "AboutItem", kAboutItem);
    AboutItem->setVisible(false);
    HelpContentsItem = item(HempMenu, "HelpContentsItem", kHelpContentsItem);

    BMPopupMenu = new QMenu(this);
    BMPopupMenu->setObjectName(QStringLiteral("BMPopupMenu"));
    bm00 = item(BMPopupMenu, "bm00", kBookmarkPopupItem);
}

void TForm1::buildLeftPages() {
    PageControl1 = place(new QTabWidget(client_), "PageControl1", QRect(0, 0, 505, 457));
    // Its tab row is painted whole, beside the tabs too: the page controls
    // stand in for the client area's background.
    PageControl1->setAutoFillBackground(true);

    TOCTabSheet = new QWidget;
    TOCTabSheet->setObjectName(QStringLiteral("TOCTabSheet"));
    PageControl1->addTab(TOCTabSheet, utf8(kTOCTabSheet));

    ReadTabSheet = new QWidget;
    ReadTabSheet->setObjectName(QStringLiteral("ReadTabSheet"));
    PageControl1->addTab(ReadTabSheet, utf8(kReadTabSheet));
    // No size until the window is laid out, so that no picture is made for
    // a size the page never has.
    Image1 = place(new ReadingSurface(ReadTabSheet), "Image1", QRect());
    // The reading surface takes the keyboard, so that it pages on Space and
    // the arrows.
    Image1->setFocusPolicy(Qt::StrongFocus);

    AboutTabSheet = new QWidget;
    AboutTabSheet->setObjectName(QStringLiteral("AboutTabSheet"));
    PageControl1->addTab(AboutTabSheet, utf8(kAboutTabSheet));
    ProgramIcon = place(new ReadingSurface(AboutTabSheet), "ProgramIcon", QRect(8, 8, 311, 313));

    Memo1 = memo(AboutTabSheet, "Memo1", QRect(264, 8, 233, 257));
    {
        QStringList lines;
        for (std::size_t k = 0; k < kAboutLines.size(); ++k) {
            lines << (static_cast<int>(k) == kAboutVersionLine
                          ? utf8(kVersionPrefix) + QStringLiteral(VARNET_VERSION)
                          : utf8(kAboutLines[k]));
        }
        Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    }
    setBackground(Memo1, kSilver);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    OKButton = button(AboutTabSheet, "OKButton", QRect(248, 320, 75, 25), kOKButton);

    DemoVerLabel =
        label(AboutTabSheet, "DemoVerLabel", QRect(96, 352, 265, 41), utf8(kDemoVerLabel), Qt::AlignHCenter);
    setBackground(DemoVerLabel, kLightYellow);
    DemoVerLabel->setFont(faceAtPixels(kSerifFace, 40));
    setTextColour(DemoVerLabel, kDemoRed);

    const DemoBookInfo& book = demoBookInfo();
    BookTitleLabel =
        label(AboutTabSheet, "BookTitleLabel", QRect(96, 400, 265, 13),
              QString::fromLatin1(book.title + kBookTitleSeparator + book.author), Qt::AlignHCenter);
    setBackground(BookTitleLabel, kLightYellow);

    BuyMemo = memo(AboutTabSheet, "BuyMemo", QRect(120, 184, 185, 89));
    BuyMemo->setReadOnly(true);
    BuyMemo->setFont(faceAtPixels(kWindowFace, 11));
    setTextColour(BuyMemo, kRed);
    BuyMemo->setPlainText(utf8(kBuyMemoAtStart));

    // The logo's holder: a page that never shows. It is a window of its own,
    // owned by this one but never shown, rather than a hidden child of the
    // page control: assistive technology lists hidden children among a
    // widget's own, but never another window.
    LogoHoldingTabSheet = new QWidget(this, Qt::Window);
    LogoHoldingTabSheet->setObjectName(QStringLiteral("LogoHoldingTabSheet"));
    LogoHoldingTabSheet->setVisible(false);
    Image3 = place(new ReadingSurface(LogoHoldingTabSheet), "Image3", QRect(0, 0, 200, 200));
    Image3->setVisible(false);

    PageControl1->setCurrentWidget(AboutTabSheet);
    keepTabsInView(PageControl1);
}

void TForm1::buildControlPanel() {
    PageControl2 = place(new QTabWidget(client_), "PageControl2", QRect(512, 0, kControlPanelWidth, 433));
    PageControl2->setAutoFillBackground(true);
    buildControlPage();
    buildOptionsPage();
    buildIndexPage();
    // The Index page is the one on show in the window definition, but its tab
    // shows only once a word-index file is known.
    PageControl2->setCurrentWidget(IndexTabSheet);
    PageControl2->setTabVisible(PageControl2->indexOf(IndexTabSheet), false);
    keepTabsInView(PageControl2);
}

void TForm1::buildControlPage() {
    ControlsTabSheet = new QWidget;
    ControlsTabSheet->setObjectName(QStringLiteral("ControlsTabSheet"));
    PageControl2->addTab(ControlsTabSheet, utf8(kControlsTabSheet));
    QWidget* page = ControlsTabSheet;

    ReadingPositionLabel = label(page, "ReadingPositionLabel", QRect(8, 16, 177, 13),
                                 utf8(kReadingPositionLabel), Qt::AlignHCenter);
    BookPosProgressBar = place(new QProgressBar(page), "BookPosProgressBar", QRect(8, 32, 177, 16));
    BookPosProgressBar->setRange(0, 100);
    BookPosProgressBar->setValue(0);
    BookPosProgressBar->setTextVisible(false);
    PosLabel = label(page, "PosLabel", QRect(8, 48, 169, 17), QString(), Qt::AlignHCenter);
    FontSizeLabel =
        label(page, "FontSizeLabel", QRect(8, 72, 169, 17), utf8(kFontSizeLabelAtStart), Qt::AlignHCenter);

    FontSizeTrackBar = place(new QSlider(Qt::Horizontal, page), "FontSizeTrackBar", QRect(2, 88, 169, 25));
    FontSizeTrackBar->setRange(4, 40);
    FontSizeTrackBar->setValue(15);
    FontSizeTrackBar->setTickPosition(QSlider::TicksBelow);
    FontSizeTrackBar->setTickInterval(1);
    FontSizeTrackBar->setPageStep(2);
    // The tick marks are drawn in the same colours whether or not the window
    // is active yet, so the first screen does not depend on when the desktop
    // activates the window.
    {
        QPalette steady = FontSizeTrackBar->palette();
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto r = static_cast<QPalette::ColorRole>(role);
            steady.setColor(QPalette::Inactive, r, steady.color(QPalette::Active, r));
        }
        FontSizeTrackBar->setPalette(steady);
    }

    FontSizeUpDown = place(new QSpinBox(page), "FontSizeUpDown", QRect(166, 88, 16, 25));
    FontSizeUpDown->setRange(4, 40);
    FontSizeUpDown->setValue(4);
    FontSizeUpDown->setWrapping(false);

    PrevButton = button(page, "PrevButton", QRect(8, 200, 169, 25), kPrevButton);
    NextButton = button(page, "NextButton", QRect(8, 224, 169, 65), kNextButton);
    NextButton->setEnabled(false);
    ExitButton = button(page, "ExitButton", QRect(8, 312, 169, 25), kExitButton);
}

void TForm1::buildOptionsPage() {
    OptionsTabSheet = new QWidget;
    OptionsTabSheet->setObjectName(QStringLiteral("OptionsTabSheet"));
    PageControl2->addTab(OptionsTabSheet, utf8(kOptionsTabSheet));
    QWidget* page = OptionsTabSheet;

    BGColorRadioGroup =
        place(new QGroupBox(utf8(kBGColorRadioGroup), page), "BGColorRadioGroup", QRect(8, 8, 169, 89));
    BGColorButtons = new QButtonGroup(BGColorRadioGroup);
    BGColorButtons->setObjectName(QStringLiteral("BGColorButtons"));
    for (int k = 0; k < static_cast<int>(kBGColorItems.size()); ++k) {
        auto* radio = new QRadioButton(utf8(kBGColorItems[static_cast<std::size_t>(k)]), BGColorRadioGroup);
        radio->setObjectName(QStringLiteral("BGColorRadioGroupItem%1").arg(k));
        radio->setGeometry(8, 18 + 22 * k, 153, 20);
        BGColorButtons->addButton(radio, k);
    }
    BGColorButtons->button(0)->setChecked(true);

    SingleShadeBgCheckBox = place(new QCheckBox(utf8(kSingleShadeBgCheckBox), page), "SingleShadeBgCheckBox",
                                  QRect(8, 104, 169, 25));
    TwoColorCheckBox =
        place(new QCheckBox(utf8(kTwoColorCheckBox), page), "TwoColorCheckBox", QRect(8, 124, 169, 25));
    TwoColCheckBox =
        place(new QCheckBox(utf8(kTwoColCheckBox), page), "TwoColCheckBox", QRect(8, 144, 169, 25));

    Label2 = label(page, "Label2", QRect(0, 184, 193, 13), QString());
    Label3 = label(page, "Label3", QRect(0, 200, 193, 13), QString());
    Label4 = label(page, "Label4", QRect(0, 232, 193, 13), QString());
    for (QLabel* l : {Label2, Label3, Label4}) l->setVisible(false);

    ResetToStartupDefaultsButton =
        button(page, "ResetToStartupDefaultsButton", QRect(0, 288, 193, 25), kResetToStartupDefaultsButton);
}

void TForm1::buildIndexPage() {
    IndexTabSheet = new QWidget;
    IndexTabSheet->setObjectName(QStringLiteral("IndexTabSheet"));
    PageControl2->addTab(IndexTabSheet, utf8(kIndexTabSheet));
    QWidget* page = IndexTabSheet;

    FindingEntryLabel = label(page, "FindingEntryLabel", QRect(8, 8, 61, 13), utf8(kFindingEntryLabel));
    setBackground(FindingEntryLabel, kYellow);
    FindingEntryLabel->setVisible(false);

    SearchingIndexLabel =
        label(page, "SearchingIndexLabel", QRect(0, 0, 192, 20), utf8(kSearchingIndexLabel));
    SearchingIndexLabel->setAlignment(Qt::AlignCenter);
    setBackground(SearchingIndexLabel, kYellow);
    SearchingIndexLabel->setFont(faceAtPixels(kWindowFace, 13));
    SearchingIndexLabel->setVisible(false);

    IndexPanel = place(new QFrame(page), "IndexPanel", QRect(0, 0, 192, 381));
    IndexPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);

    IndexMemo = memo(IndexPanel, "IndexMemo", QRect(8, 40, 177, 193));
    IndexMemo->setFrameStyle(QFrame::NoFrame);
    IndexMemo->setReadOnly(true);
    IndexMemo->setLineWrapMode(QTextEdit::NoWrap);

    IndexLoadButton = button(IndexPanel, "IndexLoadButton", QRect(24, 264, 137, 25), kIndexLoadButton);

    LoadingIndexLabel = label(IndexPanel, "LoadingIndexLabel", QRect(8, 304, 177, 25),
                              utf8(kLoadingIndexLabel), Qt::AlignHCenter);
    setBackground(LoadingIndexLabel, kYellow);
    LoadingIndexLabel->setFont(faceAtPixels(kWindowFace, 16));
    LoadingIndexLabel->setVisible(false);

    Memo2 = memo(IndexPanel, "Memo2", QRect(8, 336, 177, 33));
    {
        QStringList lines;
        for (const char* line : kIndexInstructions) lines << utf8(line);
        Memo2->setPlainText(lines.join(QLatin1Char('\n')));
    }
    Memo2->setVisible(false);
}

namespace {

QTreeWidget* newTree(QWidget* page, const char* name) {
    auto* tree = place(new QTreeWidget(page), name, page->rect());
    tree->setHeaderHidden(true);
    tree->setIndentation(19);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return tree;
}

}  // namespace

QTreeWidget* TForm1::tocTree() {
    if (TOCTreeView) return TOCTreeView;
    TOCTreeView = newTree(TOCTabSheet, "TOCTreeView");
    TOCTreeView->setFont(faceAtPixels(kSerifFace, pendingContents_.fontPixels));
    TOCTreeView->setAccessibleName(PageControl1->tabText(PageControl1->indexOf(TOCTabSheet)));
    // The rows, then the branches in the order they were opened, then the
    // selection: the tree as it would stand had it been there all along.
    fillTree(TOCTreeView, pendingContents_.nodes);
    for (const std::int32_t index : pendingContents_.expanded)
        if (QTreeWidgetItem* item = itemAtAbsoluteIndex(TOCTreeView, index)) item->setExpanded(true);
    if (pendingContents_.current)
        if (QTreeWidgetItem* item = itemAtAbsoluteIndex(TOCTreeView, *pendingContents_.current))
            TOCTreeView->setCurrentItem(item);
    // From here on the tree holds all but the font.
    pendingContents_.nodes = {};
    pendingContents_.expanded = {};
    pendingContents_.current.reset();

    // Every click on the contents tree runs its click handler once the
    // selection has moved, a click on an expand arrow included (the expansion
    // then marks it as a toggle); a double click runs its own handler after
    // the tree has toggled the branch, and the release that ends it is not a
    // click of its own.
    TOCTreeView->viewport()->installEventFilter(this);
    TOCTreeView->installEventFilter(this);
    connect(TOCTreeView, &QTreeWidget::currentItemChanged, this, &TForm1::updateRemoveBookItem);
    connect(TOCTreeView, &QTreeWidget::itemDoubleClicked, this, [this] {
        swallowTreeRelease_ = true;
        QTimer::singleShot(0, this, &TForm1::TOCTreeViewDblClick);
    });
    connect(TOCTreeView, &QTreeWidget::itemExpanded, this, &TForm1::TOCTreeViewExpanded);
    connect(TOCTreeView, &QTreeWidget::itemCollapsed, this, &TForm1::TOCTreeViewCollapsed);
    // In the keyboard's order where its page is, not after every other
    // widget.
    QWidget* before = PageControl1->tabBar();
    while (PageControl1->tabBar()->isAncestorOf(before->nextInFocusChain()))
        before = before->nextInFocusChain();
    setTabOrder(before, TOCTreeView);
    TOCTreeView->show();
    return TOCTreeView;
}

QTreeWidget* TForm1::indexTree() {
    if (InxTreeView) return InxTreeView;
    InxTreeView = newTree(IndexTabSheet, "InxTreeView");
    // Below the "Load Index" panel, as in the window definition.
    InxTreeView->stackUnder(IndexPanel);
    InxTreeView->setVisible(false);
    InxTreeView->setAccessibleName(PageControl2->tabText(PageControl2->indexOf(IndexTabSheet)));
    connect(InxTreeView, &QTreeWidget::itemClicked, this, &TForm1::InxTreeViewClick);
    setTabOrder(ResetToStartupDefaultsButton, InxTreeView);
    alignPageContents();
    return InxTreeView;
}

void TForm1::loadLogo() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpr = screen ? screen->devicePixelRatio() : 1.0;
    const QSize size(200, 200);
    QtSurface& picture = Image3->surface();
    picture.create(size, dpr);
    // Rendered at build time at one and two device pixels per logical
    // pixel; other ratios scale the nearer one.
    picture.stretchDraw(QRect(QPoint(0, 0), size), builtInLogo(dpr > 1.0 ? 400 : 200));
}

}  // namespace varnet::ui
