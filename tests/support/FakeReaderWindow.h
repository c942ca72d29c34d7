// A window for the session that holds its widgets' states in plain fields and
// records what the reader was shown: messages, questions, captions, the trees.
// Its option boxes run the session's handlers when their state changes, as the
// real window's do; connect() names the session to call.
#pragma once

#include "FakeFindDialog.h"
#include "ReaderSession.h"
#include "ReaderWindow.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace varnet::testing {

class FakeReaderWindow : public ReaderWindow {
public:
    // Handlers run on a change of an option box's state, as signals would.
    void connect(ReaderSession& session) { session_ = &session; }

    // PanelControls
    void setPrevEnabled(bool enabled) override { prevEnabled = enabled; }
    void setNextEnabled(bool enabled) override { nextEnabled = enabled; }
    void setPositionCaption(const std::string& caption) override { positionCaption = caption; }
    void setProgress(std::int32_t maximum, std::int32_t position) override { progress = {maximum, position}; }
    bool twoColumns() const override { return twoColumnsBox; }
    void setPathCaptions(const std::string&, const std::string&, const std::string&) override {}
    void panelDrawn() override { ++panelsDrawn; }

    // OptionWidgets
    int schemeSelection() const override { return scheme; }
    bool noColouredTextChecked() const override { return twoColorBox; }
    bool singleShadeChecked() const override { return singleShadeBox; }
    int fontSizePosition() const override { return fontSlider; }
    void setFontSizeCaption(const std::string& caption) override { fontSizeCaption = caption; }
    void setFontSizeSpinner(int position) override { fontSpinner = position; }
    void setFontSizePosition(int position) override {
        const int kept = std::clamp(position, 4, 40);  // the slider's range
        if (kept == fontSlider) return;
        fontSlider = kept;
        if (session_) session_->options().FontSizeTrackBarChange();
    }
    void setTreeFontSize(int points) override { treeFontSize = points; }

    // Messages
    void notice(const std::string& text) override { notices.push_back(text); }
    void error(const std::string& text) override { errors.push_back(text); }
    bool askYesNo(const std::string& message, const std::string& title) override {
        questions.emplace_back(message, title);
        return answer;
    }

    // BookmarkWindow
    void setDeleteAndGotoEnabled(bool enabled) override { deleteAndGoto = enabled; }
    std::optional<std::string> askBookmarkName() override { return bookmarkName; }
    LocalDateTime now() override { return clock; }

    // CatalogueWindow
    std::optional<std::int32_t> selectedNodeIndex() const override { return selectedNode; }
    void setCaption(const std::string& text) override { caption = text; }
    void setOpenDialogFileName(const std::string& name) override { openDialogName = name; }
    void setIndexTabVisible(bool visible) override { indexTab = visible; }
    void resetIndexPage() override { indexNodes.clear(); }
    void showReadingPage() override { ++readingPageShown; }

    // The rest of the port
    FindDialog& findOptions() override { return find; }
    ScreenSize screenSize() const override { return screen; }
    bool placeWindow(const WindowBounds& stored) override {
        bounds = stored;
        return true;
    }
    WindowBounds normalBounds() const override { return bounds; }
    void setTwoColorChecked(bool checked) override {
        if (std::exchange(twoColorBox, checked) != checked && session_)
            session_->options().TwoColorCheckBoxClick();
    }
    void setSingleShadeChecked(bool checked) override {
        if (std::exchange(singleShadeBox, checked) != checked && session_)
            session_->options().SingleShadeBgCheckBoxClick();
    }
    void setTwoColumnsChecked(bool checked) override {
        if (std::exchange(twoColumnsBox, checked) != checked && session_)
            session_->paging().TwoColCheckBoxClick();
    }
    void setSchemeSelection(int index) override {
        if (std::exchange(scheme, index) != index && index >= 0 && session_)
            session_->options().BGColorRadioGroupClick();
    }
    void settingsLoaded() override { ++settingsApplied; }
    void setApplicationTitle(const std::string& title) override { applicationTitle = title; }
    void showCatalogue(const std::vector<CatalogueNode>& nodes) override { catalogue = nodes; }
    void expandAndSelectNode(std::int32_t index) override { selectedNode = index; }
    void showIndexTree(const std::vector<IndexNode>& nodes) override { indexNodes = nodes; }

    // The Find dialog's options as the reader left them.
    FakeFindDialog find;
    ScreenSize screen{1280, 1024};
    WindowBounds bounds;
    bool prevEnabled = false, nextEnabled = false;
    std::string positionCaption, fontSizeCaption, caption = "Varnet", openDialogName, applicationTitle;
    std::pair<std::int32_t, std::int32_t> progress{0, 0};
    int panelsDrawn = 0, readingPageShown = 0, settingsApplied = 0;
    int scheme = 0;
    bool twoColorBox = false, singleShadeBox = false, twoColumnsBox = false;
    int fontSlider = 15, fontSpinner = 4, treeFontSize = 0;
    std::vector<std::string> notices, errors;
    std::vector<std::pair<std::string, std::string>> questions;
    bool answer = false;
    bool deleteAndGoto = false;
    std::optional<std::string> bookmarkName = std::string(" ");
    LocalDateTime clock{"12/10/2026", "6:30:00 PM", false};
    std::optional<std::int32_t> selectedNode;
    bool indexTab = false;
    std::vector<CatalogueNode> catalogue;
    std::vector<IndexNode> indexNodes;

private:
    ReaderSession* session_ = nullptr;
};

}  // namespace varnet::testing
