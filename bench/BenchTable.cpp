// Gathers the figures of every benchmark into one table: what was measured,
// the figure, its target and the ratio of the two (at most 1 when the target
// is met). Rows that only report a figure have no target.
//
// Usage: varnet_bench_table RESULTS_DIR
//   RESULTS_DIR holds one Google Benchmark JSON report per benchmark program
//   (NAME.json); process.txt, the process timer's lines
//   ("NAME median_ms=... worst_ms=... peak_rss_kib=... runs=..."); and
//   startup.txt, one line per start-up run ("PROGRAM round=N key=value ..."
//   or "PROGRAM round=N failed").
// Prints the table as Markdown; exits with 1 when a figure is missing.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>
#include <QString>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct Process {
    double medianMs = 0, worstMs = 0, peakMiB = 0;
};

class Results {
public:
    explicit Results(const QString& folder) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList({QStringLiteral("*.json")}, QDir::Files)) {
            QFile file(dir.filePath(name));
            if (!file.open(QIODevice::ReadOnly)) continue;
            const QJsonArray runs =
                QJsonDocument::fromJson(file.readAll()).object().value("benchmarks").toArray();
            for (const QJsonValue& run : runs) {
                const QJsonObject o = run.toObject();
                const QString aggregate = o.value("aggregate_name").toString();
                // With repetitions only the median of the repetitions is used.
                if (!aggregate.isEmpty() && aggregate != QLatin1String("median")) continue;
                const QString key = o.value("run_name").toString(o.value("name").toString());
                if (!aggregate.isEmpty() || !runs_.count(key)) runs_[key] = o;
            }
        }
        QFile process(dir.filePath(QStringLiteral("process.txt")));
        if (process.open(QIODevice::ReadOnly | QIODevice::Text)) {
            static const QRegularExpression field(QStringLiteral("(\\w+)=([0-9.]+)"));
            QTextStream in(&process);
            while (!in.atEnd()) {
                const QString line = in.readLine();
                const QString name = line.section(' ', 0, 0);
                Process p;
                for (auto m = field.globalMatch(line); m.hasNext();) {
                    const auto hit = m.next();
                    const double v = hit.captured(2).toDouble();
                    if (hit.captured(1) == "median_ms") p.medianMs = v;
                    if (hit.captured(1) == "worst_ms") p.worstMs = v;
                    if (hit.captured(1) == "peak_rss_kib") p.peakMiB = v / 1024.0;
                }
                if (!name.isEmpty()) processes_[name] = p;
            }
        }
    }

    // A benchmark's run by its name; a fixed iteration or repetition count
    // may follow the name.
    std::map<QString, QJsonObject>::const_iterator find(const char* name) const {
        const QString key = QString::fromLatin1(name);
        const auto exact = runs_.find(key);
        if (exact != runs_.end()) return exact;
        for (auto it = runs_.begin(); it != runs_.end(); ++it)
            if (it->first.startsWith(key + "/iterations:") || it->first.startsWith(key + "/repeats:"))
                return it;
        return runs_.end();
    }
    // A benchmark's time per iteration in milliseconds.
    std::optional<double> ms(const char* name) const {
        const auto it = find(name);
        if (it == runs_.end()) return std::nullopt;
        const double t = it->second.value("real_time").toDouble();
        const QString unit = it->second.value("time_unit").toString();
        if (unit == "ns") return t / 1e6;
        if (unit == "us") return t / 1e3;
        if (unit == "s") return t * 1e3;
        return t;
    }
    std::optional<double> counter(const char* name, const char* key) const {
        const auto it = find(name);
        if (it == runs_.end() || !it->second.contains(key)) return std::nullopt;
        return it->second.value(key).toDouble();
    }
    std::optional<Process> process(const char* name) const {
        const auto it = processes_.find(QString::fromLatin1(name));
        if (it == processes_.end()) return std::nullopt;
        return it->second;
    }

private:
    std::map<QString, QJsonObject> runs_;
    std::map<QString, Process> processes_;
};

// The start-up rounds: each program's figures by round.
class Startup {
public:
    explicit Startup(const QString& file) {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) return;
        static const QRegularExpression field(QStringLiteral("(\\w+)=([0-9.]+)"));
        QTextStream text(&in);
        while (!text.atEnd()) {
            const QString line = text.readLine();
            const QString program = line.section(' ', 0, 0);
            std::map<QString, double> figures;
            for (auto m = field.globalMatch(line); m.hasNext();) {
                const auto hit = m.next();
                figures[hit.captured(1)] = hit.captured(2).toDouble();
            }
            if (program.isEmpty() || !figures.count("round")) continue;
            const int round = static_cast<int>(figures["round"]);
            if (line.endsWith(QLatin1String(" failed")))
                ++failed_[program];
            else
                runs_[program][round] = figures;
        }
    }

    int runs(const char* program) const {
        const auto it = runs_.find(QString::fromLatin1(program));
        return it == runs_.end() ? 0 : static_cast<int>(it->second.size());
    }
    int failures(const char* program) const {
        const auto it = failed_.find(QString::fromLatin1(program));
        return it == failed_.end() ? 0 : it->second;
    }
    // The median over the rounds of one figure of a program.
    std::optional<double> median(const char* program, const char* key) const {
        std::vector<double> values;
        const auto it = runs_.find(QString::fromLatin1(program));
        if (it != runs_.end())
            for (const auto& [round, figures] : it->second)
                if (const auto f = figures.find(QString::fromLatin1(key)); f != figures.end())
                    values.push_back(f->second);
        return middle(values);
    }
    // The median over the rounds of a's figure divided by b's figure in the
    // same round; rounds where either run failed are left out.
    std::optional<double> medianRatio(const char* a, const char* keyA, const char* b,
                                      const char* keyB) const {
        std::vector<double> values;
        const auto ia = runs_.find(QString::fromLatin1(a));
        const auto ib = runs_.find(QString::fromLatin1(b));
        if (ia == runs_.end() || ib == runs_.end()) return std::nullopt;
        for (const auto& [round, figures] : ia->second) {
            const auto other = ib->second.find(round);
            if (other == ib->second.end()) continue;
            const auto fa = figures.find(QString::fromLatin1(keyA));
            const auto fb = other->second.find(QString::fromLatin1(keyB));
            if (fa != figures.end() && fb != other->second.end() && fb->second > 0)
                values.push_back(fa->second / fb->second);
        }
        return middle(values);
    }

private:
    static std::optional<double> middle(std::vector<double> values) {
        if (values.empty()) return std::nullopt;
        std::sort(values.begin(), values.end());
        const std::size_t n = values.size();
        return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
    }

    std::map<QString, std::map<int, std::map<QString, double>>> runs_;
    std::map<QString, int> failed_;
};

std::string number(double v) {
    char text[32];
    if (v >= 100)
        std::snprintf(text, sizeof text, "%.0f", v);
    else if (v >= 10)
        std::snprintf(text, sizeof text, "%.1f", v);
    else
        std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}
// A time in milliseconds, shown in the unit that reads best.
std::string duration(double ms) {
    return ms < 1.0 ? number(ms * 1000.0) + " us" : number(ms) + " ms";
}

struct Table {
    bool missing = false;
    std::vector<std::string> rows;

    void add(const std::string& what, std::optional<double> figure, std::optional<double> target,
             const std::string& figureText, const std::string& targetText) {
        if (!figure || !target || *target <= 0) {
            rows.push_back("| " + what + " | missing | " + (target ? targetText : "missing") + " | - | - |");
            missing = true;
            return;
        }
        const double ratio = *figure / *target;
        rows.push_back("| " + what + " | " + figureText + " | " + targetText + " | " + number(ratio) + " | " +
                       (ratio <= 1.0 ? "yes" : "NO") + " |");
    }
    // A row that only reports.
    void note(const std::string& what, const std::optional<std::string>& figureText) {
        rows.push_back("| " + what + " | " + figureText.value_or("missing") + " | - | - | - |");
        if (!figureText) missing = true;
    }
    // A time against a fixed budget.
    void time(const std::string& what, std::optional<double> ms, double budgetMs) {
        add(what, ms, budgetMs, ms ? duration(*ms) : "", "under " + duration(budgetMs));
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RESULTS_DIR\n", argv[0]);
        return 2;
    }
    const Results r(QString::fromLocal8Bit(argv[1]));
    Table t;

    const auto panel = r.ms("BM_DrawPanelQtSurface");
    const auto plain = r.ms("BM_PlainQPainterSamePieces");
    t.add("One full panel, 1920 x 1080 at 15 points, through the reader's surface", panel,
          plain ? std::optional(*plain * 1.2) : std::nullopt, panel ? duration(*panel) : "",
          plain ? "1.2 x plain QPainter (" + duration(*plain) + ")" : "");

    const Startup up(QString::fromLocal8Bit(argv[1]) + QStringLiteral("/startup.txt"));
    const auto mib = [](double kib) { return number(kib / 1024.0) + " MiB"; };
    const auto faults = [](double n) {
        return QLocale(QLocale::English).toString(qRound64(n)).toStdString();
    };
    const auto runs = [&](const char* program) {
        const int failed = up.failures(program);
        return " (" + std::to_string(up.runs(program)) + " runs" +
               (failed ? ", " + std::to_string(failed) + " failed" : std::string()) + ")";
    };
    // What a program shows and holds, timed from outside at the X level.
    const auto xRow = [&](const std::string& what, const char* program) {
        const auto first = up.median(program, "first_frame_ms");
        const auto settled = up.median(program, "settled_ms");
        const auto peak = up.median(program, "peak_rss_kib");
        const auto minflt = up.median(program, "frame_minflt");
        const auto toYardstick = up.medianRatio(program, "first_frame_ms", "yardstick", "first_frame_ms");
        std::optional<std::string> text;
        if (first && settled && peak && minflt)
            text = "first frame " + duration(*first) +
                   (toYardstick && std::string(program) != "yardstick"
                        ? " (" + number(*toYardstick) + " x the yardstick)"
                        : std::string()) +
                   ", " + faults(*minflt) + " minor faults by then; settled " + duration(*settled) +
                   "; peak RSS " + mib(*peak) + runs(program);
        t.note("Start-up at the X level: " + what, text);
    };
    xRow("the yardstick, a Qt window with one line of serif text in a QLabel", "yardstick");
    xRow("`varnet`", "varnet");
    xRow("`varnet fable.qtx`", "varnet_book");
    xRow("FBReader opening the demo book's prose", "fbreader");
    {
        const auto settled = up.median("fbreader", "settled_ms");
        const auto peak = up.median("fbreader", "peak_rss_kib");
        const auto minflt = up.median("fbreader", "minflt");
        t.note(
            "Start-up at the X level: FBReader settled (its \"Loading book\" notice gone, the book's page "
            "shown, then a second without change)",
            settled && peak && minflt ? std::optional(duration(*settled) + ", " + faults(*minflt) +
                                                      " minor faults by then; peak RSS " + mib(*peak))
                                      : std::nullopt);
    }
    // The same first frames seen from inside the processes.
    for (const auto& [what, program] :
         {std::pair{"the yardstick", "probe_yardstick"}, std::pair{"`varnet`'s window", "probe_varnet"},
          std::pair{"`varnet fable.qtx`'s window", "probe_varnet_book"}}) {
        const auto first = up.median(program, "first_frame_ms");
        const auto hwm = up.median(program, "frame_hwm_kib");
        const auto minflt = up.median(program, "frame_minflt");
        t.note(std::string("Start-up seen from inside (cross-check): ") + what +
                   ", first frame drawn by the server",
               first && hwm && minflt
                   ? std::optional("first frame " + duration(*first) + ", " + faults(*minflt) +
                                   " minor faults and peak RSS " + mib(*hwm) + " by then" + runs(program))
                   : std::nullopt);
    }

    const auto fbSettled = up.median("fbreader", "settled_ms");
    for (const auto& [what, program, limit] :
         {std::tuple{"`varnet`", "varnet", 1.0}, std::tuple{"`varnet fable.qtx`", "varnet_book", 1.1}}) {
        const auto ratio = up.medianRatio(program, "first_frame_ms", "fbreader", "settled_ms");
        const auto first = up.median(program, "first_frame_ms");
        t.add(std::string("Start-up: ") + what +
                  "'s first frame against FBReader's settled book page (median of "
                  "the per-round ratios)",
              ratio, limit,
              ratio && first && fbSettled
                  ? number(*ratio) + " x (" + duration(*first) + " against " + duration(*fbSettled) + ")"
                  : "",
              "at most " + number(limit) + " x");
    }
    for (const auto& [what, program] :
         {std::pair{"`varnet`", "varnet"}, std::pair{"`varnet fable.qtx`", "varnet_book"}}) {
        for (const auto& [other, otherName, limit] :
             {std::tuple{"fbreader", "FBReader's", 1.1}, std::tuple{"yardstick", "the yardstick's", 1.25}}) {
            const auto ratio = up.medianRatio(program, "peak_rss_kib", other, "peak_rss_kib");
            const auto mine = up.median(program, "peak_rss_kib");
            const auto theirs = up.median(other, "peak_rss_kib");
            t.add(std::string("Peak RSS of ") + what + " against " + otherName +
                      " (VmHWM once settled; median of the per-round ratios)",
                  ratio, limit,
                  ratio && mine && theirs
                      ? number(*ratio) + " x (" + mib(*mine) + " against " + mib(*theirs) + ")"
                      : "",
                  "at most " + number(limit) + " x");
        }
    }

    const auto readerPeak = up.median("varnet", "peak_rss_kib");
    const auto everyChapter = r.process("every_chapter");
    t.add("Peak memory of a run that opens every chapter and pages in each",
          everyChapter ? std::optional(everyChapter->peakMiB) : std::nullopt,
          readerPeak ? std::optional(*readerPeak / 1024.0 + 10.0) : std::nullopt,
          everyChapter ? number(everyChapter->peakMiB) + " MiB" : "",
          readerPeak ? "the reader's start-up (" + mib(*readerPeak) + ") + 10 MiB" : "");

    t.time("Building the demo book and opening it", r.ms("BM_BuildAndOpenDemoBook"), 5.0);
    t.time("Opening a chapter (build, find the anchor, draw)", r.ms("BM_OpenChapter"), 10.0);

    // Paging against drawing the very panels it paged to.
    for (const auto& [what, name] :
         {std::pair{"forward", "BM_PageForwardWholeBook"}, std::pair{"back", "BM_PageBackWholeBook"}}) {
        for (const auto& [which, key, drawKey] : {std::tuple{"median", "median_us", "draw_median_us"},
                                                  std::tuple{"worst", "worst_us", "draw_worst_us"}}) {
            const auto us = r.counter(name, key);
            const auto drawUs = r.counter(name, drawKey);
            const auto toMs = [](std::optional<double> v) {
                return v ? std::optional(*v / 1000.0) : std::nullopt;
            };
            t.add(std::string("Paging ") + what + " through the whole book, full screen: " + which + " panel",
                  toMs(us), toMs(drawUs), us ? duration(*us / 1000.0) : "",
                  drawUs ? std::string("drawing the same panels: ") + which + " " + duration(*drawUs / 1000.0)
                         : "");
        }
    }

    t.time("Searching the whole demo book without a hit, down", r.ms("BM_SearchDownWithoutHit"), 5.0);
    t.time("Searching the whole demo book without a hit, up", r.ms("BM_SearchUpWithoutHit"), 5.0);

    const auto i10k = r.ms("BM_PrepareIndex/10000");
    const auto i100k = r.ms("BM_PrepareIndex/100000");
    const auto i1m = r.ms("BM_PrepareIndex/1000000");
    // The budget is one second for a million lines; smaller indexes get
    // their linear share of it, and each tenfold step may cost 12 times.
    t.time("Loading and preparing a word index of 10,000 lines", i10k, 10.0);
    t.time("Loading and preparing a word index of 100,000 lines", i100k, 100.0);
    t.time("Loading and preparing a word index of 1,000,000 lines", i1m, 1000.0);
    t.add("Word index growth from 10,000 to 100,000 lines",
          i10k && i100k ? std::optional(*i100k / *i10k) : std::nullopt, 12.0,
          i10k && i100k ? number(*i100k / *i10k) + " x" : "", "at most 12 x");
    t.add("Word index growth from 100,000 to 1,000,000 lines",
          i100k && i1m ? std::optional(*i1m / *i100k) : std::nullopt, 12.0,
          i100k && i1m ? number(*i1m / *i100k) + " x" : "", "at most 12 x");
    t.time("Building the Index tree widget for the demo book", r.ms("BM_IndexTreeWidgetForTheDemoBook"),
           500.0);
    t.time("Adding a bookmark to a file of 10,000 lines (reload, insert, atomic save)",
           r.ms("BM_AddBookmarkTo10000Lines"), 20.0);

    // Books of the reader's own.
    const auto import1 = r.ms("BM_ImportEpub/200000");
    const auto import10 = r.ms("BM_ImportEpub/2000000");
    const auto epubBytes = r.counter("BM_ImportEpub/200000", "epub_bytes");
    t.time("Importing and opening an EPUB of 200,000 words" +
               (epubBytes ? " (" + number(*epubBytes / 1048576.0) + " MB)" : std::string()) +
               ": import, layout, storing, opening",
           import1, 500.0);
    t.add("Import growth from 200,000 to 2,000,000 words",
          import1 && import10 ? std::optional(*import10 / *import1) : std::nullopt, 12.0,
          import1 && import10 ? number(*import10 / *import1) + " x" : "", "at most 12 x");
    const auto above = r.counter("BM_ImportPeakMemory", "above_kib");
    const auto textKib = r.counter("BM_ImportPeakMemory", "text_kib");
    t.add("Peak memory of that import above the reader's own", above,
          textKib ? std::optional(*textKib * 10.0) : std::nullopt, above ? mib(*above) : "",
          textKib ? "10 x the book's text (" + mib(*textKib) + ")" : "");
    // The demo book's opened form is made at build time; a book kept on disk
    // is brought into that form when it opens, so it is held against the
    // demo book opened the same way from its stored lines.
    const auto ownChapter = r.ms("BM_OpenOwnChapter");
    const auto storedChapter = r.ms("BM_OpenChapterFromStoredLines");
    t.add(
        "Opening a chapter of an imported book of the demo book's size", ownChapter, storedChapter,
        ownChapter ? duration(*ownChapter) : "",
        storedChapter ? "a demo book chapter opened from its stored lines: " + duration(*storedChapter) : "");

    std::printf("| What | Figure | Target | Ratio | Met |\n|---|---|---|---|---|\n");
    for (const auto& row : t.rows) std::printf("%s\n", row.c_str());
    return t.missing ? 1 : 0;
}
