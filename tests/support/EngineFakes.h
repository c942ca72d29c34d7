// Fakes of the small interfaces the engine's units call out through, each
// backed by a callable so that a test states what happens in one line; an
// empty callable does nothing (a placer or a drawer then leaves the line as
// it is, a question is answered No).
#pragma once

#include "BookOpening.h"
#include "Catalogue.h"
#include "ReaderPorts.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace varnet::testing {

class FunctionPlacer final : public PanelPlacer {
public:
    FunctionPlacer() = default;
    explicit FunctionPlacer(std::function<std::int32_t(std::int32_t)> show) : show_(std::move(show)) {}
    std::int32_t ShowLine(std::int32_t line) override { return show_ ? show_(line) : line; }

private:
    std::function<std::int32_t(std::int32_t)> show_;
};

class FunctionHitDrawer final : public HitPanelDrawer {
public:
    explicit FunctionHitDrawer(std::function<std::int32_t(std::int32_t, std::int32_t)> draw)
        : draw_(std::move(draw)) {}
    std::int32_t DrawPanelHolding(std::int32_t start, std::int32_t line) override {
        return draw_(start, line);
    }

private:
    std::function<std::int32_t(std::int32_t, std::int32_t)> draw_;
};

struct FakeOpeningHost final : BookOpeningHost {
    FakeOpeningHost() = default;
    FakeOpeningHost(std::function<void()> l, std::function<bool(const std::string&, const std::string&)> a,
                    std::function<void(const std::string&)> f, std::function<std::int32_t(std::int32_t)> s)
        : load(std::move(l)), ask(std::move(a)), fail(std::move(f)), show(std::move(s)) {}

    std::function<void()> load;
    std::function<bool(const std::string&, const std::string&)> ask;
    std::function<void(const std::string&)> fail;
    std::function<std::int32_t(std::int32_t)> show;

    void loadBookmarkSection() override {
        if (load) load();
    }
    bool askYesNo(const std::string& message, const std::string& title) override {
        return ask && ask(message, title);
    }
    void error(const std::string& text) override {
        if (fail) fail(text);
    }
    std::int32_t ShowLine(std::int32_t line) override { return show ? show(line) : line; }
    std::optional<std::string> storedBytes(const std::string&) override { return std::nullopt; }
};

struct FakeCatalogueHost final : CatalogueHost {
    FakeCatalogueHost(std::function<void()> c, std::function<void(const std::string&, const std::string&)> o,
                      std::function<bool(const std::string&)> e)
        : closing(std::move(c)), open(std::move(o)), exists(std::move(e)) {}

    std::function<void()> closing;
    std::function<void(const std::string&, const std::string&)> open;
    std::function<bool(const std::string&)> exists;

    void WriteClosingBookmark() override {
        if (closing) closing();
    }
    void OpenBook(const std::string& fileName, const std::string& anchor) override {
        if (open) open(fileName, anchor);
    }
    bool fileExists(const std::string& path) const override { return exists && exists(path); }
};

}  // namespace varnet::testing
