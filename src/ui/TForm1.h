// The main window: owns every widget the reader's operations read and write,
// lays them out on each resize, and is the entry point of every handler.
// Widgets and handlers keep the names of the window definition.
#pragma once

#include "Prompter.h"
#include "ReaderSession.h"
#include "ReaderWindow.h"
#include "ReadingSurface.h"

#include <QMainWindow>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QButtonGroup;
class QCheckBox;
class QFrame;
class QWheelEvent;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTextEdit;
class QTreeWidget;
class QTreeWidgetItem;
class TForm4;

namespace varnet::ui {

// The logo rendered at build time, `pixels` wide and high (200 or 400); a
// null image when there is none of that size.
QImage builtInLogo(int pixels);

class TFindDialog;

class TForm1 : public QMainWindow, public ReaderWindow {
    Q_OBJECT
public:
    // Without a prompter the window shows real message boxes.
    explicit TForm1(Prompter* prompter = nullptr, QWidget* parent = nullptr);
    ~TForm1() override;

    ReaderSession& session() { return *session_; }
    ReaderState& state() { return session_->state(); }
    const ReaderState& state() const { return session_->state(); }
    PanelRenderer& renderer() { return session_->renderer(); }
    Paging& paging() { return session_->paging(); }
    DisplayOptions& displayOptions() { return session_->options(); }
    Prompter& prompter() { return *prompter_; }
    void setPrompter(Prompter* prompter);
    // The bookmark-name dialog, created once at start and shown modally by
    // the real message boxes.
    void setBookmarkDialog(TForm4* dialog);

    // The radio group's selected item, -1 for none.
    int bgColorItemIndex() const;
    void setBGColorItemIndex(int index);

    // Key preview: every key press meant for a widget of this window comes
    // here first. Only the keys the window acts on are consumed (Page Up and
    // Page Down anywhere; Space and the arrows while the focus is on the
    // Reading page); every other key goes on to the focused widget.
    bool previewKey(QObject* watched, QEvent* event);

    // Places the widgets that fill or dock to their page; run it after
    // showing or hiding SearchingIndexLabel, which takes the tree's bottom.
    void alignPageContents();

    // Window bounds including the frame, as the settings file holds them.
    QRect outerBounds() const;
    void setOuterBounds(const QRect& bounds);

    // PanelControls: what a panel updates and reads.
    void setPrevEnabled(bool enabled) override;
    void setNextEnabled(bool enabled) override;
    void setPositionCaption(const std::string& caption) override;
    void setProgress(std::int32_t maximum, std::int32_t position) override;
    bool twoColumns() const override;
    void setPathCaptions(const std::string& bookmarkPath, const std::string& settingsPath,
                         const std::string& tocPath) override;
    // The renderer's last word on a panel: the text assistive technology
    // reads is brought up to date.
    void panelDrawn() override;

    // OptionWidgets: the option widgets as the display-option handlers see them.
    int schemeSelection() const override;
    bool noColouredTextChecked() const override;
    bool singleShadeChecked() const override;
    int fontSizePosition() const override;
    void setFontSizeCaption(const std::string& caption) override;
    void setFontSizeSpinner(int position) override;
    void setFontSizePosition(int position) override;
    void setTreeFontSize(int points) override;

    // Messages and questions.
    void notice(const std::string& text) override;
    void error(const std::string& text) override;
    bool askYesNo(const std::string& message, const std::string& title) override;

    // BookmarkWindow: what the bookmark operations need of the window.
    void setDeleteAndGotoEnabled(bool enabled) override;
    std::optional<std::string> askBookmarkName() override;
    LocalDateTime now() override;

    // CatalogueWindow: what a click on the contents tree needs.
    std::optional<std::int32_t> selectedNodeIndex() const override;
    void setCaption(const std::string& caption) override;
    void setOpenDialogFileName(const std::string& name) override;
    void setIndexTabVisible(bool visible) override;
    void resetIndexPage() override;
    void showReadingPage() override;

    // The rest of the window's port: the screen and the window's bounds, the
    // option widgets set from the settings, the trees.
    FindDialog& findOptions() override { return *findOptions_; }
    ScreenSize screenSize() const override;
    bool placeWindow(const WindowBounds& stored) override;
    WindowBounds normalBounds() const override;
    void setTwoColorChecked(bool checked) override;
    void setSingleShadeChecked(bool checked) override;
    void setTwoColumnsChecked(bool checked) override;
    void setSchemeSelection(int index) override { setBGColorItemIndex(index); }
    void settingsLoaded() override;
    void setApplicationTitle(const std::string& title) override;
    void showCatalogue(const std::vector<CatalogueNode>& nodes) override;
    void expandAndSelectNode(std::int32_t index) override;
    void showIndexTree(const std::vector<IndexNode>& nodes) override;

    Bookmarks& bookmarks() { return session_->bookmarks(); }
    BookOpening& bookOpening() { return session_->opening(); }
    // The Find dialog, made the first time it is needed.
    TFindDialog* findDialog();

    // Sizes fixed by the window definition.
    static constexpr int kControlPanelWidth = 200;
    static constexpr QSize kMinimumOuterSize{kMinimumWindowWidth, kMinimumWindowHeight};
    static constexpr QRect kInitialOuterBounds{90, 122, 729, 509};

    // The main menu.
    QMenuBar* MainMenu1 = nullptr;
    QMenu* FileMenu = nullptr;
    QAction* OpenQTXItem = nullptr;
    QAction* OpenTOCItem = nullptr;
    QAction* ImportBookItem = nullptr;
    QAction* RemoveBookItem = nullptr;
    QAction* N1 = nullptr;
    QAction* SaveScreenItem = nullptr;
    QAction* N3 = nullptr;
    QAction* ExitItem = nullptr;
    QMenu* SearchMenu = nullptr;
    QAction* FindItem = nullptr;
    QAction* FindNextItem = nullptr;
    QAction* FindPreviousItem = nullptr;
    QMenu* BMMenu = nullptr;
    QAction* BMAddItem = nullptr;
    QAction* BMDeleteItem = nullptr;
    QAction* N2 = nullptr;
    QAction* BMGOItem = nullptr;
    QMenu* ViewMenu = nullptr;
    QAction* HideControlPanelItem = nullptr;
    QAction* ShowControlPanelItem = nullptr;
    QAction* FullScreenItem = nullptr;
    QAction* LargerTextItem = nullptr;
    QAction* SmallerTextItem = nullptr;
    QMenu* HempMenu = nullptr;
    QAction* AboutItem = nullptr;
    QAction* HelpContentsItem = nullptr;
    QMenu* BMPopupMenu = nullptr;
    QAction* bm00 = nullptr;

    // The contents tree and the word-index tree, each built the first time
    // anything needs the widget: its page coming on show, a row read, a
    // test. Until then the contents tree's rows, expansions, selection and
    // font are kept as plain values, and the first screen, which shows
    // neither tree, costs none of a tree's code or memory.
    QTreeWidget* tocTree();
    QTreeWidget* indexTree();

    // The left page control.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TOCTabSheet = nullptr;
    QTreeWidget* TOCTreeView = nullptr;  // none until tocTree() builds it
    QWidget* ReadTabSheet = nullptr;
    ReadingSurface* Image1 = nullptr;
    QWidget* AboutTabSheet = nullptr;
    ReadingSurface* ProgramIcon = nullptr;
    QTextEdit* Memo1 = nullptr;
    QPushButton* OKButton = nullptr;
    QLabel* DemoVerLabel = nullptr;
    QLabel* BookTitleLabel = nullptr;
    QTextEdit* BuyMemo = nullptr;
    QWidget* LogoHoldingTabSheet = nullptr;
    ReadingSurface* Image3 = nullptr;

    // The control panel.
    QTabWidget* PageControl2 = nullptr;
    QWidget* ControlsTabSheet = nullptr;
    QLabel* ReadingPositionLabel = nullptr;
    QProgressBar* BookPosProgressBar = nullptr;
    QLabel* PosLabel = nullptr;
    QLabel* FontSizeLabel = nullptr;
    QSlider* FontSizeTrackBar = nullptr;
    QSpinBox* FontSizeUpDown = nullptr;
    QPushButton* PrevButton = nullptr;
    QPushButton* NextButton = nullptr;
    QPushButton* ExitButton = nullptr;
    QWidget* OptionsTabSheet = nullptr;
    QGroupBox* BGColorRadioGroup = nullptr;
    QButtonGroup* BGColorButtons = nullptr;  // the group's items, ids 0..2
    QCheckBox* SingleShadeBgCheckBox = nullptr;
    QCheckBox* TwoColorCheckBox = nullptr;
    QCheckBox* TwoColCheckBox = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* ResetToStartupDefaultsButton = nullptr;
    QWidget* IndexTabSheet = nullptr;
    QLabel* FindingEntryLabel = nullptr;
    QLabel* SearchingIndexLabel = nullptr;
    QTreeWidget* InxTreeView = nullptr;  // none until indexTree() builds it
    QFrame* IndexPanel = nullptr;
    QTextEdit* IndexMemo = nullptr;
    QPushButton* IndexLoadButton = nullptr;
    QLabel* LoadingIndexLabel = nullptr;
    QTextEdit* Memo2 = nullptr;

public slots:
    // The window's own handlers.
    void FormCreate();
    void FormActivate();
    void FormResize();
    void ClearSurfaces();
    void OKButtonClick();
    int WMEraseBkgnd();
    void ReadTabSheetResize();
    void ReadTabSheetEnter();
    void ControlsTabSheetEnter();
    void HideControlPanelItemClick();
    void ShowControlPanelItemClick();
    void HempMenuClick();

    // Paging.
    void NextButtonClick();
    void PrevButtonClick();
    void FormKeyDown(int& key);
    void TwoColCheckBoxClick();

    // Colour schemes and font size.
    void BGColorRadioGroupClick();
    void TwoColorCheckBoxClick();
    void SingleShadeBgCheckBoxClick();
    void FontSizeTrackBarChange();
    void FontSizeUpDownClick();

    // Handlers that later work fills in.
    void TOCTreeViewClick();                   // opens the catalogue row clicked
    void TOCTreeViewDblClick();                // expands or collapses without opening
    void TOCTreeViewExpanded();                // marks the next click as a toggle
    void TOCTreeViewCollapsed();               // marks the next click as a toggle
    void PageControl1Change();                 // the page on show takes the keyboard
    void BMMenuClick();                        // reloads the bookmarks as the menu opens
    void BMAddItemClick();                     // adds a named bookmark
    void BMDeleteItemClick();                  // deletes a bookmark from the popup
    void BMGOItemClick();                      // goes to a bookmark from the popup
    void FindItemClick();                      // shows the Find dialog
    void SaveScreenItemClick();                // saves the panel on show as text
    void IndexLoadButtonClick();               // loads the word index into its tree
    void InxTreeViewClick();                   // jumps to the index entry clicked
    void ResetToStartupDefaultsButtonClick();  // rewrites the default settings
    void OpenQTXItemClick();                   // opens a text file (item disabled)
    void OpenTOCItemClick();                   // opens a contents file (item disabled)
    void ImportBookItemClick();                // imports a book of the reader's own into My Books
    void RemoveBookItemClick();                // removes the selected book from My Books
    void ExitItemClick();
    void ExitButtonClick();
    void FormClose();  // saves the settings and the closing bookmark

    // Start-up and shut-down steps.
    void LoadSettings();
    void SaveWindowSettings();
    void BuildCatalogue();
    void FindDialog1Find();
    // The find-next shortcuts: one press in the given direction (+1 down,
    // -1 up) whatever the dialog says.
    void findNextInDirection(int direction);
    // Where the last search hit is on the screen (global coordinates); empty
    // when the panel on show does not hold it.
    QRect foundLineArea() const;
    // Full screen on and off (F11), and one step of the font-size track bar
    // (+1 larger, -1 smaller).
    void FullScreenItemClick(bool on);
    void fontSizeStep(int step);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int chooseBookmark();
    void buildMenus();
    void buildLeftPages();
    void buildControlPanel();
    void buildControlPage();
    void buildOptionsPage();
    void buildIndexPage();
    void connectHandlers();
    // Remove From My Books is enabled while a book of the reader's own (or
    // one of its chapters) is selected.
    void updateRemoveBookItem();

    void Redraw();

    // Gives every page of a page control the size of the one on show, as if
    // all pages were resized with their page control.
    void syncPages(QTabWidget* pages);
    void readPageMaybeResized();
    void firstActivation();
    void onFocusChanged(QWidget* old, QWidget* now);
    QSize frameExtra() const;
    void fitOuterBounds();
    // The outer bounds the window has when it is neither maximised nor full
    // screen: what closing writes, whatever state the window is in.
    QRect normalOuterBounds() const;
    // Applies the option values of the settings to the widgets, each running
    // its handler, and the scheme they select.
    void applyMinimumSize();
    void loadLogo();
    void setAccelerators();
    void nameWidgetsForAccessibility();
    void nameByCaption(QWidget* root);
    // The reading surface's accessible text follows the panel on show; the
    // renderer reports a drawn panel before its caller stores NextLine, so
    // the text is taken once control is back in the event loop.
    void updatePanelText();
    // One panel per notch of the mouse wheel over the reading surface.
    void readingSurfaceWheel(QWheelEvent& wheel);

    std::unique_ptr<Prompter> ownPrompter_;
    Prompter* prompter_ = nullptr;
    TFindDialog* FindDialog1 = nullptr;
    // What a search reads of the Find dialog, also before it is made.
    std::unique_ptr<FindDialog> findOptions_;
    // The engine, wired once; made after the widgets it draws on.
    std::unique_ptr<ReaderSession> session_;
    // The file names the open and save dialogs hold between uses.
    QString openDialogFileName_;
    QString saveDialogFileName_;
    QString importFolder_;
    bool busy_ = false;  // the wait cursor is on while a book is imported
    void endBusy();      // where the import dialog opens: the folder of the last book imported
    // The release that ends a double click must not open the row again.
    bool swallowTreeRelease_ = false;
    // A mouse button is down on the contents tree.
    bool treeMouseDown_ = false;
    QWidget* client_ = nullptr;
    bool activated_ = false;
    bool activationQueued_ = false;
    bool outerFitted_ = false;
    QSize readPageSize_{-1, -1};
    // The contents tree as the reader's operations have made it while the
    // widget was not built: what tocTree() builds it from.
    struct PendingContents {
        std::vector<CatalogueNode> nodes;
        std::vector<std::int32_t> expanded;  // in the order expanded
        std::optional<std::int32_t> current;
        int fontPixels = 13;
    } pendingContents_;
    QRect requestedOuter_ = kInitialOuterBounds;
    // The frame around the window as last seen in its normal state.
    QMargins normalFrame_;
    std::unique_ptr<QObject> keyPreview_;
    QMetaObject::Connection focusWatch_;
    bool panelTextQueued_ = false;
    int wheelTurned_ = 0;  // eighths of a degree not yet paged
};

}  // namespace varnet::ui
