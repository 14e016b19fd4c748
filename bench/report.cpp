// autorun-bench-report RESULTS_DIR: the table of tools/bench.sh. Reads the Google Benchmark results
// (gbench.json) and hyperfine's (hyperfine-inspect.json) from RESULTS_DIR and prints every measure
// of ours beside its peer from the same run, as the ratio ours / peer (below 1: ours is faster).
// Medians throughout: the machine may be busy, and a median shrugs off a stray slow run.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <string>

namespace {

struct Figure {
  double value = NAN;  // seconds, a count or MiB
  bool isCount = false;
  bool isMiB = false;
};

// Every figure of the run by key: "gb:<benchmark>" (time), "gb:<benchmark>:<counter>",
// "hf:<file>:<command name>" (time).
using Figures = std::map<std::string, Figure>;

std::optional<QJsonObject> ReadJson(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  // Google Benchmark writes a spread it cannot compute as NaN, which is not JSON.
  QByteArray bytes = file.readAll();
  bytes.replace(": NaN", ": null").replace(": -NaN", ": null");
  const QJsonDocument document = QJsonDocument::fromJson(bytes);
  if (!document.isObject()) return std::nullopt;
  return document.object();
}

double UnitSeconds(const QString& unit) {
  if (unit == QLatin1String("ns")) return 1e-9;
  if (unit == QLatin1String("us")) return 1e-6;
  if (unit == QLatin1String("ms")) return 1e-3;
  return 1;
}

void AddGoogleBenchmark(const QJsonObject& root, Figures& figures) {
  for (const QJsonValue& value : root.value(QLatin1String("benchmarks")).toArray()) {
    const QJsonObject run = value.toObject();
    const bool aggregate =
        run.value(QLatin1String("run_type")).toString() == QLatin1String("aggregate");
    if (aggregate &&
        run.value(QLatin1String("aggregate_name")).toString() != QLatin1String("median"))
      continue;
    std::string name = run.value(QLatin1String("run_name")).toString().toStdString();
    for (const std::string suffix : {"/manual_time", "/real_time"})
      if (name.size() > suffix.size() && name.ends_with(suffix))
        name.resize(name.size() - suffix.size());
    const std::string key = "gb:" + name;
    if (!aggregate && figures.count(key)) continue;  // a median, when present, wins
    figures[key] = {run.value(QLatin1String("real_time")).toDouble() *
                    UnitSeconds(run.value(QLatin1String("time_unit")).toString())};
    for (const char* counter : {"reads", "syscalls"})
      if (run.contains(QLatin1String(counter)))
        figures[key + ":" + counter] = {run.value(QLatin1String(counter)).toDouble(), true};
    if (run.contains(QLatin1String("peak_mib")))
      figures[key + ":peak_mib"] = {run.value(QLatin1String("peak_mib")).toDouble(), false, true};
    for (const char* counter : {"construct_ms", "formcreate_ms", "paint_ms"})
      if (run.contains(QLatin1String(counter)))
        figures[key + ":" + counter] = {run.value(QLatin1String(counter)).toDouble() * 1e-3};
  }
}

void AddHyperfine(const std::string& file, const QJsonObject& root, Figures& figures) {
  for (const QJsonValue& value : root.value(QLatin1String("results")).toArray()) {
    const QJsonObject result = value.toObject();
    figures["hf:" + file + ":" + result.value(QLatin1String("command")).toString().toStdString()] =
        {result.value(QLatin1String("median")).toDouble()};
  }
}

std::string Show(const Figure& figure) {
  if (std::isnan(figure.value)) return "n/a";
  char text[32];
  if (figure.isMiB) {
    std::snprintf(text, sizeof text, "%.1f MiB", figure.value);
  } else if (figure.isCount) {
    std::snprintf(text, sizeof text, "%.0f", figure.value);
  } else if (figure.value < 1e-3) {
    std::snprintf(text, sizeof text, "%.2f us", figure.value * 1e6);
  } else {
    std::snprintf(text, sizeof text, "%.2f ms", figure.value * 1e3);
  }
  return text;
}

class Table {
 public:
  explicit Table(const Figures& figures) : figures_(figures) {}

  Figure Get(const std::string& key) const {
    const auto found = figures_.find(key);
    return found == figures_.end() ? Figure{} : found->second;
  }

  // One row: ours, its peer, ratio and the goal the ratio is held to (none when goal is NAN).
  void Row(const std::string& measure, const Figure& ours, const Figure& peer, double goal = NAN) {
    const double ratio = ours.value / peer.value;
    std::string verdict = "";
    if (!std::isnan(goal) && !std::isnan(ratio)) verdict = ratio <= goal ? "met" : "MISSED";
    char ratioText[16] = "n/a", goalText[24] = "";
    if (!std::isnan(ratio)) std::snprintf(ratioText, sizeof ratioText, "%.2f", ratio);
    if (!std::isnan(goal)) std::snprintf(goalText, sizeof goalText, "<= %.2f", goal);
    std::printf("| %s | %s | %s | %s | %s | %s |\n", measure.c_str(), Show(ours).c_str(),
                Show(peer).c_str(), ratioText, goalText, verdict.c_str());
  }
  // A count held to an absolute goal (the read calls): the verdict compares ours with the goal.
  void CountRow(const std::string& measure, const Figure& ours, const Figure& peer, double goal) {
    const double ratio = ours.value / peer.value;
    char ratioText[16] = "n/a", goalText[24];
    if (!std::isnan(ratio)) std::snprintf(ratioText, sizeof ratioText, "%.2f", ratio);
    std::snprintf(goalText, sizeof goalText, "ours = %.0f", goal);
    const char* verdict = std::isnan(ours.value) ? "" : ours.value == goal ? "met" : "MISSED";
    std::printf("| %s | %s | %s | %s | %s | %s |\n", measure.c_str(), Show(ours).c_str(),
                Show(peer).c_str(), ratioText, goalText, verdict);
  }

 private:
  const Figures& figures_;
};

Figure Minus(const Figure& a, const Figure& b) { return {a.value - b.value, a.isCount}; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: autorun-bench-report RESULTS_DIR\n");
    return 2;
  }
  const QString directory = QString::fromLocal8Bit(argv[1]);
  Figures figures;
  if (const auto root = ReadJson(directory + QLatin1String("/gbench.json")))
    AddGoogleBenchmark(*root, figures);
  else
    std::fprintf(stderr, "autorun-bench-report: no gbench.json in %s\n", argv[1]);
  if (const auto root = ReadJson(directory + QLatin1String("/hyperfine-inspect.json")))
    AddHyperfine("inspect", *root, figures);
  else
    std::fprintf(stderr, "autorun-bench-report: no hyperfine-inspect.json in %s\n", argv[1]);

  Table t(figures);
  std::printf("| Measure | Ours | Peer | Ratio ours/peer | Goal | |\n|---|---|---|---|---|---|\n");
  t.Row("movie check, time (IsValidAviFile vs open+lseek+read+close)", t.Get("gb:avi/check/ours"),
        t.Get("gb:avi/check/peer_seek_read"));
  t.CountRow("movie check, read calls", t.Get("gb:avi/check/ours:reads"),
             t.Get("gb:avi/check/peer_seek_read:reads"), 1);
  t.Row("movie check, file system calls", t.Get("gb:avi/check/ours:syscalls"),
        t.Get("gb:avi/check/peer_seek_read:syscalls"));
  t.Row("ReadAviFacts, time (vs seek+read per field)", t.Get("gb:avi/facts/ours"),
        t.Get("gb:avi/facts/peer_seek_read"));
  t.CountRow("ReadAviFacts, read calls", t.Get("gb:avi/facts/ours:reads"),
             t.Get("gb:avi/facts/peer_seek_read:reads"), 1);
  t.Row("ReadAviFacts, file system calls", t.Get("gb:avi/facts/ours:syscalls"),
        t.Get("gb:avi/facts/peer_seek_read:syscalls"));

  // The poster: from its file to the picture the box draws (header, decode at the drawn size,
  // smooth scaling), against the full-size decode it replaced and against djpeg.
  {
    const std::string group = "gb:poster/4000x6000/";
    const Figure ours = t.Get(group + "ours");
    t.Row("poster 4000x6000, file to drawn picture vs full-size decode", ours,
          t.Get(group + "full_decode"), 0.25);
    t.Row("poster 4000x6000, file to drawn picture vs djpeg process minus its start", ours,
          Minus(t.Get("gb:process/djpeg/4000x6000"), t.Get("gb:process/djpeg/8x8")), 0.30);
    t.Row("poster 4000x6000, file to drawn picture vs libjpeg in-process, rows as djpeg", ours,
          t.Get(group + "peer_djpeg_rows"));
    t.Row("poster 4000x6000, launcher's peak memory vs on the demo disc (400x600)",
          t.Get("gb:process/window/launcher-4000x6000:peak_mib"),
          t.Get("gb:process/window/launcher:peak_mib"), 1.20);
    const std::string small = "gb:poster/1000x1400/";
    t.Row("poster 1000x1400, file to drawn picture vs before (full decode, then scaled)",
          t.Get(small + "ours"), t.Get(small + "full_then_scaled"), 1.00);
    t.Row("poster 1000x1400, file to drawn picture vs libjpeg in-process, rows as djpeg",
          t.Get(small + "ours"), t.Get(small + "peer_djpeg_rows"));
  }

  t.Row("start-up to first paint, in-process warm, vs bare window", t.Get("gb:startup/window/ours"),
        t.Get("gb:startup/window/peer_bare"), 1.30);
  t.Row("start-up to first paint, whole process, vs bare window process",
        t.Get("gb:process/window/launcher"), t.Get("gb:process/window/bare"), 1.30);

  t.Row("autorun-inspect --json vs ffprobe -show_streams", t.Get("hf:inspect:autorun-inspect"),
        t.Get("hf:inspect:ffprobe"));
  t.Row("autorun-inspect --json vs mediainfo", t.Get("hf:inspect:autorun-inspect"),
        t.Get("hf:inspect:mediainfo"));

  std::printf(
      "\nWhere the time goes (what-ifs are measured here, not built into the launcher):\n\n");
  std::printf("| Measure | Ours | Compared with | Ratio | | |\n|---|---|---|---|---|---|\n");
  const std::string launcher = "gb:startup/window/ours", bare = "gb:startup/window/peer_bare";
  t.Row("start-up step: TMainWin construction vs bare window reading its poster",
        t.Get(launcher + ":construct_ms"), t.Get(bare + ":construct_ms"));
  t.Row("start-up step: FormCreate (no peer step; ratio to the whole bare start)",
        t.Get(launcher + ":formcreate_ms"), t.Get(bare));
  t.Row("start-up step: show to first paint vs the bare window's", t.Get(launcher + ":paint_ms"),
        t.Get(bare + ":paint_ms"));
  t.Row("part of construction: decoding the default poster (ratio to the construction)",
        t.Get("gb:startup/part/default_poster_decode"), t.Get(launcher + ":construct_ms"));
  t.Row("part of FormCreate: LoadPictureAsBitmap of the disc's poster (ratio to FormCreate)",
        t.Get("gb:startup/part/disc_poster_decode"), t.Get(launcher + ":formcreate_ms"));
  const std::string large = "gb:startup/large_poster/ours";
  t.Row("what-if disc with a 1000x1400 poster: launcher start-up vs with the demo poster",
        t.Get(large), t.Get(launcher));
  t.Row("what-if disc with a 1000x1400 poster: show to first paint vs with the demo poster",
        t.Get(large + ":paint_ms"), t.Get(launcher + ":paint_ms"));
  t.Row("whole process: launcher vs bare window that also draws one line of text",
        t.Get("gb:process/window/launcher"), t.Get("gb:process/window/bare-text"));
  t.Row("whole process: bare window with a line of text vs without (loading the fonts)",
        t.Get("gb:process/window/bare-text"), t.Get("gb:process/window/bare"));
  for (const char* size : {"1000x1400", "4000x6000"}) {
    const std::string s = size, group = "gb:poster/" + s + "/";
    t.Row("poster " + s + ": full-size decode vs libjpeg in-process, rows as djpeg",
          t.Get(group + "full_decode"), t.Get(group + "peer_djpeg_rows"));
    t.Row("poster " + s + ": full-size decode vs libjpeg into one fresh buffer",
          t.Get(group + "full_decode"), t.Get(group + "peer_full_buffer"));
    t.Row("poster " + s + ": before, full decode then scaled, vs the full decode alone",
          t.Get(group + "full_then_scaled"), t.Get(group + "full_decode"));
  }
  return 0;
}
