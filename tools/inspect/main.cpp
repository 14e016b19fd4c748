// autorun-inspect: what the launcher will do on a disc directory, without a window and without
// changing a file. It prints the launcher's own start-up plan, read as the launcher reads it, and
// the launch texts a click right after start-up would build from the INI files as the plan leaves
// them. It never creates a widget and never opens a disc file for writing.
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <cstdio>
#include <iostream>
#include <map>
#include <optional>

#include "app/latin1.h"
#include "app/startup_files.h"
#include "app/startup_plan.h"
#include "media/info_panel.h"
#include "movie/launch.h"
#include "platform/files.h"
#include "platform/start_conditions.h"
#include "title/film_title.h"
#include "title/web_search.h"

namespace {

struct Options {
  bool json = false;
  std::string directory = ".";
  std::string launcherDirectory;  // "" = the inspected directory
  platform::ScreenSize screen{1024, 768};
  platform::WorkArea work{1024, 738};
};

// Measured on the demo disc: the start-up and the report need about 6 MiB of address space beyond
// what the program holds when main begins and one thread's stack; the rest is for a large
// poster's decoding.
constexpr std::size_t kStartUpRoom = std::size_t{20} << 20;

constexpr const char* kUsage =
    "usage: autorun-inspect [--json] [--launcher-dir DIR] [--screen WxH] [--work-area RIGHTxBOTTOM] "
    "[DIRECTORY]\n";

bool ParsePair(const std::string& text, int& a, int& b) {
  char tail = 0;
  return std::sscanf(text.c_str(), "%dx%d%c", &a, &b, &tail) == 2 && a > 0 && b > 0;
}

std::optional<Options> ParseArguments(int argc, char** argv) {
  Options options;
  bool haveDirectory = false;
  bool haveScreen = false, haveWorkArea = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--json") {
      options.json = true;
    } else if (arg == "--launcher-dir" && hasValue) {
      options.launcherDirectory = argv[++i];
    } else if (arg == "--screen" && hasValue) {
      if (!ParsePair(argv[++i], options.screen.width, options.screen.height)) return std::nullopt;
      haveScreen = true;
    } else if (arg == "--work-area" && hasValue) {
      if (!ParsePair(argv[++i], options.work.right, options.work.bottom)) return std::nullopt;
      haveWorkArea = true;
    } else if (!arg.empty() && arg[0] != '-' && !haveDirectory) {
      options.directory = arg;
      haveDirectory = true;
    } else {
      return std::nullopt;
    }
  }
  // A screen given without a work area is taken whole, as on a desktop without a task bar.
  if (haveScreen && !haveWorkArea) options.work = {options.screen.width, options.screen.height};
  return options;
}

QString Text(const std::string& bytes) { return QString::fromUtf8(bytes); }  // U+FFFD for bad bytes

QJsonObject Launch(const movie::LaunchPlan& plan) {
  if (!plan.Starts()) return {{"message", Text(plan.message)}, {"caption", Text(plan.caption)}};
  return {{"program", Text(plan.program)}, {"parameters", Text(plan.parameters)}};
}

QString Name(app::Button button) { return app::Latin1(app::ButtonName(button)); }

QJsonArray Column(const app::StartupPlan& plan) {
  QJsonArray column;
  for (const app::ColumnButton& b : app::VisibleColumn(plan))
    column.append(QJsonObject{{"name", Name(b.button)}, {"left", b.left}, {"top", b.top}});
  return column;
}

struct Facts {
  QJsonObject json;
  std::vector<std::string> warnings;
  bool accepted = false;
};

void AddStartup(Facts& f, const app::StartupPlan& plan, const std::string& launcherDirectory) {
  QJsonObject& j = f.json;
  j["directory"] = Text(platform::CurrentDirectory());
  j["launcher_directory"] = Text(launcherDirectory);
  j["movie"] = Text(plan.MovieFileName);
  j["movie_accepted"] = f.accepted;
  const QString notAvi = QString::fromLocal8Bit(plan.notAviMessage);  // as the red line shows it
  j["not_avi_message"] = notAvi;
  j["subtitle"] = Text(plan.SubtitleFileName);
  j["players"] = QJsonObject{{"vplayer", plan.vplayerPresent}, {"bplayer", plan.bplayerPresent}};
  j["column"] = Column(plan);
  j["initial_focus"] = Name(plan.focus);
  j["timer_running"] = plan.timerRunning;
  if (plan.MovieFileName.empty()) f.warnings.push_back("no *.avi movie in the directory");
  else if (!f.accepted) f.warnings.push_back("the movie is rejected: " + notAvi.toStdString());
}

void AddIniFiles(Facts& f, const app::StartupPlan& plan) {
  QJsonArray writes, skipped;
  for (const movie::IniOutcome& ini : plan.iniFiles) {
    for (const movie::IniWrite& w : ini.writes)
      writes.append(QJsonObject{{"file", Text(w.file)}, {"section", Text(w.section)},
                                {"key", Text(w.key)}, {"value", Text(w.value)}});
    if (ini.update.kind == platform::ProfileUpdate::Kind::Skipped)
      skipped.append(QJsonObject{{"file", Text(ini.file)}, {"reason", Text(ini.update.reason)}});
  }
  f.json["ini_writes"] = writes;
  f.json["ini_skipped"] = skipped;
  const std::string error = plan.errorKind == app::ErrorKind::IniWrite ? plan.error : "";
  f.json["ini_error"] = Text(error);
  if (!error.empty()) f.warnings.push_back(error);
  for (const QJsonValue& file : skipped)
    f.warnings.push_back("the start-up leaves " + file["file"].toString().toStdString() +
                         " unwritten: " + file["reason"].toString().toStdString());
}

void AddTitle(Facts& f, const app::StartupPlan& plan) {
  f.json["title"] = title::TitleDisplayText(plan.title);
  f.json["title_font_pt"] = plan.titlePoints;
  if (plan.title.empty()) f.warnings.push_back("the film title comes out empty");
  if (!plan.SubtitleFileName.empty() && !movie::SubtitleMatchesMovie(plan.MovieFileName, plan.SubtitleFileName))
    f.warnings.push_back("VPlayer will not get the subtitle " + plan.SubtitleFileName +
                         " on its command line (its name differs from the movie's)");
}

void AddPosterAndWindow(Facts& f, const app::StartupPlan& plan) {
  const app::PosterPlan& poster = plan.poster;
  const std::string posterError = plan.errorKind == app::ErrorKind::Poster ? plan.error : "";
  f.json["poster"] = QJsonObject{{"file", Text(poster.file)}, {"kind", static_cast<int>(poster.kind)},
                                 {"loaded", poster.loaded}, {"width", poster.loaded ? poster.natural.width() : 0},
                                 {"height", poster.loaded ? poster.natural.height() : 0}, {"error", Text(posterError)}};
  if (!poster.file.empty() && !poster.loaded)
    f.warnings.push_back("the poster " + poster.file + " will not be shown" +
                         (posterError.empty() ? "" : ": " + posterError));
  const app::WindowPlan& w = plan.window;
  f.json["window"] = QJsonObject{
      {"left", w.left}, {"top", w.top}, {"width", w.width}, {"height", w.height},
      {"poster_box", QJsonArray{app::design::kPosterBox.left, app::design::kPosterBox.top, w.box.width, w.box.height}},
      {"stretched", w.box.stretched}, {"auto_size", w.box.autoSize},
      {"title_top", w.titleTop}, {"title_width", w.titleWidth}};
}

// The launch texts as a click right after start-up would build them, from the INI files as the
// start-up leaves them (the frame size that VPlayer's aspect option needs is the one the info
// panel read).
void AddLaunch(Facts& f, const app::StartupPlan& plan, const movie::LaunchFacts& facts, const std::string& launcherDirectory) {
  std::map<std::string, std::string> planned;
  for (const movie::IniOutcome& ini : plan.iniFiles)
    if (ini.update.kind == platform::ProfileUpdate::Kind::Written) planned[ini.path] = ini.update.bytes;
  const movie::LaunchFiles files = app::ReadLaunchFiles(launcherDirectory, planned);
  const std::string prefix = movie::DirectoryPrefix(platform::CurrentDirectory());
  auto select = [&](const std::string& program) {
    return Text(movie::SelectPlayerParameters(prefix + program, prefix, facts));
  };
  f.json["launch"] = QJsonObject{
      {"vplayer", Launch(movie::PlanVPlayerStart(facts, files))},
      {"bplayer", Launch(movie::PlanBPlayerStart(facts, files))},
      {"select", QJsonObject{{"VPLAYER.EXE", select(std::string(movie::kVPlayer.pickedTag))},
                             {"BPLAY.EXE", select(std::string(movie::kBSPlayer.pickedTag))},
                             {"other", select("player")}}}};
}

// Where the report's size and length came from, and which stream lists gave its video and audio
// facts (null: the movie has no such stream).
QJsonObject ReportSources(const media::AviFacts& facts) {
  auto stream = [](int index) { return index < 0 ? QJsonValue() : QJsonValue(index); };
  return {{"size", app::Latin1(media::SizeSourceName(media::MovieSizeOf(facts).source))},
          {"length", app::Latin1(media::LengthSourceName(media::MovieLengthOf(facts).source))},
          {"video_stream", stream(facts.VideoStream)},
          {"audio_stream", stream(facts.AudioStream)}};
}

// The text panel as Show Info fills it; returns the frame size it read.
movie::LaunchFacts AddReport(Facts& f, const app::StartupPlan& plan) {
  const QChar decimal = QLocale::system().decimalPoint().front();
  const media::InfoPanelContent panel =
      app::ReadInfoPanel(plan.MovieFileName, plan.notesFile, plan.window.width, decimal.toLatin1());
  QJsonArray report;
  for (const media::ReportLine& line : panel.report) report.append(Text(line.PlainText()));
  f.json["report"] = report;
  f.json["report_font_pt"] = panel.fontPoints;
  f.json["notes_file"] = Text(panel.notesFile);
  if (!panel.notesError.empty()) f.warnings.push_back("the release notes cannot be shown: " + panel.notesError);
  if (panel.facts) f.json["report_sources"] = ReportSources(*panel.facts);
  app::LauncherState state = app::StateAfterStartUp(plan);
  app::KeepFrameSize(state, panel.facts);
  return app::LaunchFactsOf(state);
}

void AddWeb(Facts& f, const app::StartupPlan& plan) {
  f.json["online"] = plan.IsOnline;
  QJsonObject web;
  for (std::string_view key : title::SiteKeys) {
    const auto url = title::OpenWebSearchUrl(key, plan.title, true);
    web[app::Latin1(key)] = url ? QJsonValue(Text(*url)) : QJsonValue();
  }
  f.json["web"] = web;
}

Facts Inspect(const app::SystemFacts& system) {
  const std::string& launcherDirectory = system.launcherDirectory;
  // A dry run carries out no update: each is answered with what the plan predicts of it, which has
  // already foreseen what can be known without writing (no room, an unreadable file).
  const app::StartupPlan plan =
      app::RunStartup(system, 1, [](const movie::IniOutcome&, platform::ProfileFile&) { return true; });
  Facts f;
  f.accepted = plan.movieAccepted;
  AddStartup(f, plan, launcherDirectory);
  if (!f.accepted) return f;
  AddTitle(f, plan);
  AddIniFiles(f, plan);
  AddPosterAndWindow(f, plan);
  const movie::LaunchFacts facts = AddReport(f, plan);
  AddLaunch(f, plan, facts, launcherDirectory);
  AddWeb(f, plan);
  return f;
}

QString Shown(const QJsonValue& v) {
  if (v.isString()) return v.toString();
  if (v.isBool()) return v.toBool() ? QStringLiteral("yes") : QStringLiteral("no");
  if (v.isDouble()) return QString::number(v.toInt());
  if (v.isNull()) return QStringLiteral("(nothing)");
  const QJsonDocument document = v.isObject() ? QJsonDocument(v.toObject()) : QJsonDocument(v.toArray());
  return QString::fromUtf8(document.toJson(QJsonDocument::Compact));
}

// One fact a line; lists and the objects of several facts get a line per entry.
void PrintHuman(const Facts& facts) {
  for (auto it = facts.json.begin(); it != facts.json.end(); ++it) {
    const std::string key = it.key().toStdString();
    if (it.value().isArray() && !it.value().toArray().isEmpty()) {
      std::cout << key << ":\n";
      for (const QJsonValue& entry : it.value().toArray()) std::cout << "  " << Shown(entry).toStdString() << "\n";
    } else if (it.value().isObject()) {
      std::cout << key << ":\n";
      const QJsonObject object = it.value().toObject();
      for (auto field = object.begin(); field != object.end(); ++field)
        std::cout << "  " << field.key().toStdString() << ": " << Shown(field.value()).toStdString() << "\n";
    } else {
      std::cout << key << ": " << Shown(it.value()).toStdString() << "\n";
    }
  }
  for (const std::string& warning : facts.warnings) std::cout << "warning: " << warning << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "--help") {
    std::cout << kUsage;
    return 0;
  }
  const std::optional<Options> options = ParseArguments(argc, argv);
  if (!options) {
    std::cerr << kUsage;
    return 2;
  }
  if (!platform::RoomToStart(kStartUpRoom)) {
    std::cerr << "autorun-inspect: not enough memory to start\n";
    return 2;
  }
  QCoreApplication application(argc, argv);  // no widget: a window could not even be made
  if (!platform::EnterDirectory(options->directory)) {
    std::cerr << "autorun-inspect: cannot enter " << options->directory << "\n";
    return 2;
  }
  app::SystemFacts system;
  system.launcherDirectory = platform::ExecutableDirectoryAt(
      options->launcherDirectory.empty() ? platform::CurrentDirectory() : options->launcherDirectory);
  system.screen = options->screen;
  system.work = options->work;
  const Facts facts = Inspect(system);
  if (options->json)
    std::cout << QJsonDocument(facts.json).toJson(QJsonDocument::Indented).toStdString();
  else
    PrintHuman(facts);
  return facts.accepted ? 0 : 1;
}
