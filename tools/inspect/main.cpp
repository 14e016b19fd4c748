// autorun-inspect: what the launcher will do on a disc directory, without a window and without
// changing a file. It runs the launcher's own start-up on an offscreen window whose outside effects
// are recorded instead of carried out, with the players' INI files replaced by temporary copies.
#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>

#include "app/main_window.h"
#include "media/avi.h"
#include "media/notes.h"
#include "media/report.h"
#include "movie/launch.h"
#include "movie/player_settings.h"
#include "movie/players.h"
#include "platform/files.h"
#include "platform/online.h"
#include "platform/profile.h"
#include "platform/stand_in.h"
#include "platform/start_conditions.h"
#include "platform/text.h"
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

// Measured on the demo disc: the offscreen start-up and the report need about 6 MiB of address
// space beyond what the program holds when main begins and one thread's stack; the rest is for a
// large poster's decoding.
constexpr std::size_t kStartUpRoom = std::size_t{20} << 20;

constexpr const char* kUsage =
    "usage: autorun-inspect [--json] [--launcher-dir DIR] [--screen WxH] [--work-area RIGHTxBOTTOM] "
    "[DIRECTORY]\n";

// Records what the launcher would do to the world; answers the questions it asks.
class DryRunServices : public platform::Services {
 public:
  DryRunServices(const Options& options, std::string launcherCopy)
      : options_(options), launcherCopy_(std::move(launcherCopy)) {}
  void StartProgram(const platform::ProgramStart&) override {}
  void OpenUrl(const std::string&) override {}
  void ShowMessage(const std::string&, const std::string&) override {}
  void ShowError(const std::string&) override {}  // the window's record keeps it
  std::string ChooseProgram(const std::string&) override { return {}; }
  bool IsInternetConnected() override { return platform::IsInternetConnected(); }
  platform::ScreenSize Screen() override { return options_.screen; }
  platform::WorkArea Work() override { return options_.work; }
  std::string LauncherDirectory() override { return launcherCopy_; }

 private:
  const Options& options_;
  std::string launcherCopy_;
};

bool ParsePair(const std::string& text, int& a, int& b) {
  char tail = 0;
  return std::sscanf(text.c_str(), "%dx%d%c", &a, &b, &tail) == 2 && a > 0 && b > 0;
}

std::optional<Options> ParseArguments(int argc, char** argv) {
  Options options;
  bool haveDirectory = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--json") {
      options.json = true;
    } else if (arg == "--launcher-dir" && hasValue) {
      options.launcherDirectory = argv[++i];
    } else if (arg == "--screen" && hasValue) {
      if (!ParsePair(argv[++i], options.screen.width, options.screen.height)) return std::nullopt;
    } else if (arg == "--work-area" && hasValue) {
      if (!ParsePair(argv[++i], options.work.right, options.work.bottom)) return std::nullopt;
    } else if (!arg.empty() && arg[0] != '-' && !haveDirectory) {
      options.directory = arg;
      haveDirectory = true;
    } else {
      return std::nullopt;
    }
  }
  return options;
}

// In the system's own spelling, as the launcher's directory is given to the start-up.
std::string WithSlash(const QString& path) {
  return platform::WithTrailingSeparator(QDir::toNativeSeparators(path).toLocal8Bit().toStdString());
}

// Puts stand-ins for the players' INI files into `copyDirectory` under the names they have on the
// disc, so that the start-up reads them (Filmname) and writes them as it would the originals, and
// refuses them for the same reasons (a link, too large, read-only). A launcher directory whose
// medium is not ready is used as it is: the start-up then writes nothing into it.
std::string StandInDirectory(const std::string& launcherDirectory, const std::string& copyDirectory) {
  const platform::Listing listing = platform::ListDirectory(launcherDirectory);
  if (!movie::IsDriveReady(launcherDirectory, listing)) return launcherDirectory;
  for (const movie::Player* player : movie::kPlayers)
    if (const platform::ListingEntry* ini = platform::LookupEntry(listing, player->iniWriteName))
      platform::MakeStandIn(launcherDirectory + ini->name, copyDirectory + ini->name,
                            platform::kProfileFileMax + 1);  // one byte past what the launcher reads
  return copyDirectory;
}

QString Text(const std::string& bytes) { return QString::fromUtf8(bytes); }  // U+FFFD for bad bytes

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  if (const auto at = text.find(from); !from.empty() && at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

QJsonObject Launch(const movie::LaunchPlan& plan) {
  if (!plan.Starts()) return {{"message", Text(plan.message)}, {"caption", Text(plan.caption)}};
  return {{"program", Text(plan.program)}, {"parameters", Text(plan.parameters)}};
}

QJsonArray Column(const app::TMainWin& window) {
  std::vector<const QWidget*> buttons = {window.dxStart, window.dxBPlayer, window.dxSelect,
                                         window.dxClose, window.dxInfo};
  std::erase_if(buttons, [](const QWidget* b) { return b->isHidden(); });
  std::stable_sort(buttons.begin(), buttons.end(),
                   [](const QWidget* a, const QWidget* b) { return a->y() < b->y(); });
  QJsonArray column;
  for (const QWidget* b : buttons)
    column.append(QJsonObject{{"name", b->objectName()}, {"left", b->x()}, {"top", b->y()}});
  return column;
}

struct Facts {
  QJsonObject json;
  std::vector<std::string> warnings;
  bool accepted = false;
};

// Where the launcher's INI files really are, and the copies the dry run writes into instead.
struct Directories {
  std::string disc, launcher, launcherCopy;
};

void AddStartup(Facts& f, const app::TMainWin& window, const Directories& dirs) {
  const app::LauncherState& state = window.State();
  QJsonObject& j = f.json;
  j["directory"] = Text(dirs.disc);
  j["launcher_directory"] = Text(dirs.launcher);
  j["movie"] = Text(state.MovieFileName);
  j["movie_accepted"] = f.accepted;
  j["not_avi_message"] = window.lblNotAvi->text();
  j["subtitle"] = Text(state.SubtitleFileName);
  j["players"] = QJsonObject{{"vplayer", window.Record().vplayerPresent},
                             {"bplayer", window.Record().bplayerPresent}};
  j["column"] = Column(window);
  j["initial_focus"] = window.focusWidget() ? window.focusWidget()->objectName() : QString();
  j["timer_running"] = window.Timer1->isActive();
  if (state.MovieFileName.empty()) f.warnings.push_back("no *.avi movie in the directory");
  else if (!f.accepted) f.warnings.push_back("the movie is rejected: " + window.lblNotAvi->text().toStdString());
}

// The start-up's INI outcomes; paths into the stand-in directory are shown as the real ones.
void AddIniFiles(Facts& f, const app::StartupRecord& record, const Directories& dirs) {
  QJsonArray writes, skipped;
  for (const movie::IniOutcome& ini : record.iniFiles) {
    if (ini.kind == movie::IniOutcome::Kind::Written)
      for (const movie::IniWrite& w : ini.writes)
        writes.append(QJsonObject{{"file", Text(w.file)}, {"section", Text(w.section)},
                                  {"key", Text(w.key)}, {"value", Text(w.value)}});
    if (ini.kind == movie::IniOutcome::Kind::Skipped)
      skipped.append(QJsonObject{{"file", Text(ini.file)}, {"reason", Text(ini.reason)}});
  }
  f.json["ini_writes"] = writes;
  f.json["ini_skipped"] = skipped;
  const std::string error =
      record.errorKind == app::ErrorKind::IniWrite ? Replace(record.errorText, dirs.launcherCopy, dirs.launcher) : "";
  f.json["ini_error"] = Text(error);
  if (!error.empty()) f.warnings.push_back(error);
  for (const QJsonValue& file : skipped)
    f.warnings.push_back("the start-up leaves " + file["file"].toString().toStdString() +
                         " unwritten: " + file["reason"].toString().toStdString());
}

void AddTitle(Facts& f, const app::TMainWin& window) {
  const app::LauncherState& state = window.State();
  const std::string& title = window.lblTitle->title();
  f.json["title"] = window.lblTitle->text();
  f.json["title_font_pt"] = title::TitleFontPoints(title::DisplayedLength(title));
  if (title.empty()) f.warnings.push_back("the film title comes out empty");
  if (!state.SubtitleFileName.empty() && !movie::SubtitleMatchesMovie(state.MovieFileName, state.SubtitleFileName))
    f.warnings.push_back("VPlayer will not get the subtitle " + state.SubtitleFileName +
                         " on its command line (its name differs from the movie's)");
}

void AddPosterAndWindow(Facts& f, const app::TMainWin& window) {
  const app::StartupRecord& record = window.Record();
  const std::string posterError = record.errorKind == app::ErrorKind::Poster ? record.errorText : "";
  const bool loaded = window.PosterLoaded();
  const QSize picture = window.imgPreview->naturalSize();
  f.json["poster"] = QJsonObject{{"file", Text(window.PosterFile())}, {"kind", window.State().PosterKind},
                                 {"loaded", loaded}, {"width", loaded ? picture.width() : 0},
                                 {"height", loaded ? picture.height() : 0}, {"error", Text(posterError)}};
  if (!window.PosterFile().empty() && !loaded)
    f.warnings.push_back("the poster " + window.PosterFile() + " will not be shown" +
                         (posterError.empty() ? "" : ": " + posterError));
  const QRect box = window.imgPreview->geometry();
  f.json["window"] = QJsonObject{
      {"left", window.x()}, {"top", window.y()}, {"width", window.width()}, {"height", window.height()},
      {"poster_box", QJsonArray{box.x(), box.y(), box.width(), box.height()}},
      {"stretched", window.PosterBox().stretched}, {"auto_size", window.PosterBox().autoSize},
      {"title_top", window.lblTitle->y()}, {"title_width", window.lblTitle->width()}};
}

// The launch texts as a click right after start-up would build them (the frame size that VPlayer's
// aspect option needs is the one the info panel read).
void AddLaunch(Facts& f, const app::LauncherState& state, const Directories& dirs) {
  const std::string prefix = movie::DirectoryPrefix(platform::CurrentDirectory());
  auto select = [&](const std::string& program) {
    return Text(movie::SelectPlayerParameters(prefix + program, prefix, app::LaunchFactsOf(state)));
  };
  f.json["launch"] = QJsonObject{
      {"vplayer", Launch(movie::PlanVPlayerStart(app::LaunchFactsOf(state), dirs.launcherCopy))},
      {"bplayer", Launch(movie::PlanBPlayerStart(app::LaunchFactsOf(state), dirs.launcherCopy))},
      {"select", QJsonObject{{"VPLAYER.EXE", select(std::string(movie::kVPlayer.pickedTag))},
                             {"BPLAY.EXE", select(std::string(movie::kBSPlayer.pickedTag))},
                             {"other", select("player")}}}};
}

// The text panel as Show Info filled it.
void AddReport(Facts& f, const app::TMainWin& window) {
  const std::optional<media::InfoPanelContent>& panel = window.InfoPanel();
  if (!panel) return;
  QJsonArray report;
  for (const media::ReportLine& line : panel->report) report.append(Text(line.PlainText()));
  f.json["report"] = report;
  f.json["report_font_pt"] = panel->fontPoints;
  f.json["notes_file"] = Text(panel->notesFile);
  if (!panel->notesError.empty()) f.warnings.push_back("the release notes cannot be shown: " + panel->notesError);
}

void AddWeb(Facts& f, const app::TMainWin& window) {
  f.json["online"] = window.State().IsOnline;
  QJsonObject web;
  for (std::string_view key : title::SiteKeys) {
    const auto url = title::OpenWebSearchUrl(key, window.lblTitle->title(), true);
    web[QString::fromLatin1(key.data(), static_cast<int>(key.size()))] = url ? QJsonValue(Text(*url)) : QJsonValue();
  }
  f.json["web"] = web;
}

Facts Inspect(const Options& options, const Directories& dirs) {
  DryRunServices services(options, dirs.launcherCopy);
  app::TMainWin window(services);
  window.FormCreate();
  Facts f;
  f.accepted = !window.dxInfo->isHidden();
  AddStartup(f, window, dirs);
  if (!f.accepted) return f;
  AddTitle(f, window);
  AddIniFiles(f, window.Record(), dirs);
  AddPosterAndWindow(f, window);
  window.dxInfoClick();
  AddReport(f, window);
  AddLaunch(f, window.State(), dirs);
  AddWeb(f, window);
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
  qputenv("QT_QPA_PLATFORM", "offscreen");  // never opens a window
  QApplication application(argc, argv);
  if (!QDir::setCurrent(QString::fromLocal8Bit(options->directory))) {
    std::cerr << "autorun-inspect: cannot enter " << options->directory << "\n";
    return 2;
  }
  QTemporaryDir copy;
  if (!copy.isValid()) {
    std::cerr << "autorun-inspect: no temporary directory\n";
    return 2;
  }
  Directories dirs;
  dirs.disc = platform::CurrentDirectory();
  const QString launcher = options->launcherDirectory.empty()
                               ? QString::fromLocal8Bit(dirs.disc)
                               : QDir(QString::fromLocal8Bit(options->launcherDirectory)).absolutePath();
  dirs.launcher = WithSlash(launcher);
  dirs.launcherCopy = StandInDirectory(dirs.launcher, WithSlash(copy.path()));
  const Facts facts = Inspect(*options, dirs);
  if (options->json)
    std::cout << QJsonDocument(facts.json).toJson(QJsonDocument::Indented).toStdString();
  else
    PrintHuman(facts);
  return facts.accepted ? 0 : 1;
}
