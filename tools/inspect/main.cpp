// autorun-inspect: what the launcher will do on a disc directory, without a window and without
// changing a file. It runs the launcher's own start-up on an offscreen window whose outside effects
// are recorded instead of carried out, with the players' INI files replaced by temporary copies.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <optional>

#include "app/main_window.h"
#include "media/avi.h"
#include "media/notes.h"
#include "media/report.h"
#include "movie/launch.h"
#include "movie/player_settings.h"
#include "platform/files.h"
#include "platform/online.h"
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

constexpr const char* kUsage =
    "usage: autorun-inspect [--json] [--launcher-dir DIR] [--screen WxH] [--work-area RIGHTxBOTTOM] "
    "[DIRECTORY]\n";

// Records what the launcher would do to the world; answers the questions it asks.
class DryRunServices : public platform::Services {
 public:
  DryRunServices(const Options& options, std::string launcherCopy)
      : options_(options), launcherCopy_(std::move(launcherCopy)) {}
  std::vector<std::string> errors;

  void StartProgram(const std::string&, const std::string&) override {}
  void OpenUrl(const std::string&) override {}
  void ShowMessage(const std::string&, const std::string&) override {}
  void ShowError(const std::string& text) override { errors.push_back(text); }
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

std::string WithSlash(std::string path) { return path.ends_with('/') ? path : path + '/'; }

// Copies the players' INI files into `copy`, under the names they have on disk, when the launcher
// could write them at all: the copies then take the writes the real files would have taken.
void CopyWritableIniFiles(const std::string& launcherDirectory, const std::string& copy) {
  if (!movie::IsDriveReady(launcherDirectory)) return;
  for (const char* name : {movie::kVPlayerIniWriteName, movie::kBPlayerIniName}) {
    const std::optional<std::string> found = platform::ResolveCase(launcherDirectory + name);
    struct stat info {};
    if (!found || stat(found->c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    if (geteuid() != 0 && info.st_uid != geteuid()) continue;  // its mode could not be reset
    const std::string target = copy + found->substr(found->rfind('/') + 1);
    QFile::copy(QString::fromLocal8Bit(*found), QString::fromLocal8Bit(target));
    QFile::setPermissions(QString::fromLocal8Bit(target),
                          QFile::permissions(QString::fromLocal8Bit(*found)));
  }
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

Facts Inspect(const Options& options, const std::string& directory, const std::string& launcherDirectory,
              const std::string& launcherCopy) {
  DryRunServices services(options, launcherCopy);
  app::TMainWin window(services);
  window.FormCreate();
  app::LauncherState& state = window.State();
  Facts f;
  QJsonObject& j = f.json;
  f.accepted = !window.dxInfo->isHidden();
  j["directory"] = Text(directory);
  j["launcher_directory"] = Text(launcherDirectory);
  j["movie"] = Text(state.MovieFileName);
  j["movie_accepted"] = f.accepted;
  j["not_avi_message"] = window.lblNotAvi->text();
  j["subtitle"] = Text(state.SubtitleFileName);
  const bool vplayer = platform::FileExists(movie::kVPlayerProgram);
  const bool bplayer = platform::FileExists(movie::kBPlayerProgram);
  j["players"] = QJsonObject{{"vplayer", vplayer}, {"bplayer", bplayer}};
  j["column"] = Column(window);
  j["initial_focus"] = window.focusWidget() ? window.focusWidget()->objectName() : QString();
  j["timer_running"] = window.Timer1->isActive();
  if (state.MovieFileName.empty()) f.warnings.push_back("no *.avi movie in the directory");
  if (!f.accepted && !state.MovieFileName.empty()) f.warnings.push_back("the movie is rejected: " + window.lblNotAvi->text().toStdString());
  if (!f.accepted) return f;

  const std::string title = window.lblTitle->title();
  j["title"] = window.lblTitle->text();
  j["title_font_pt"] = title::TitleFontPoints(title::DisplayedLength(title));
  if (title.empty()) f.warnings.push_back("the film title comes out empty");

  std::string iniError, posterError;
  for (const std::string& error : services.errors)
    (error.starts_with("Unable to write to") ? iniError : posterError) = Replace(error, launcherCopy, launcherDirectory);
  QJsonArray writes;
  for (const auto& [shown, name, kind] : {std::tuple{!window.dxStart->isHidden(), movie::kVPlayerIniWriteName, app::kPlayerVPlayer},
                                          std::tuple{!window.dxBPlayer->isHidden(), movie::kBPlayerIniName, app::kPlayerBSPlayer}}) {
    if (!shown || !platform::FileExists(launcherCopy + name)) continue;
    for (const movie::IniWrite& w : movie::PlayerSettingsWrites(name, kind, state))
      writes.append(QJsonObject{{"file", Text(w.file)}, {"section", Text(w.section)}, {"key", Text(w.key)}, {"value", Text(w.value)}});
  }
  j["ini_writes"] = writes;
  j["ini_error"] = Text(iniError);
  if (!iniError.empty()) f.warnings.push_back(iniError);
  if (!state.SubtitleFileName.empty() &&
      platform::DropLast(state.SubtitleFileName, 4) != platform::DropLast(state.MovieFileName, 4))
    f.warnings.push_back("VPlayer will not get the subtitle " + state.SubtitleFileName + " on its command line (its name differs from the movie's)");

  const QImage& picture = window.imgPreview->picture();
  j["poster"] = QJsonObject{{"file", Text(window.PosterFile())}, {"kind", state.PosterKind},
                            {"loaded", window.PosterLoaded()}, {"width", window.PosterLoaded() ? picture.width() : 0},
                            {"height", window.PosterLoaded() ? picture.height() : 0}, {"error", Text(posterError)}};
  if (!window.PosterFile().empty() && !window.PosterLoaded())
    f.warnings.push_back("the poster " + window.PosterFile() + " will not be shown" + (posterError.empty() ? "" : ": " + posterError));
  const app::BoxState& box = window.PosterBox();
  j["window"] = QJsonObject{{"left", window.x()}, {"top", window.y()}, {"width", window.width()}, {"height", window.height()},
                            {"poster_box", QJsonArray{window.imgPreview->x(), window.imgPreview->y(), window.imgPreview->width(), window.imgPreview->height()}},
                            {"stretched", box.stretched}, {"auto_size", box.autoSize},
                            {"title_top", window.lblTitle->y()}, {"title_width", window.lblTitle->width()}};

  // The launch texts as a click right after start-up would build them.
  app::LauncherState vstate = state, bstate = state;
  const std::string prefix = movie::DirectoryPrefix(platform::CurrentDirectory());
  j["launch"] = QJsonObject{
      {"vplayer", Launch(movie::PlanVPlayerStart(vstate, launcherCopy))},
      {"bplayer", Launch(movie::PlanBPlayerStart(bstate, launcherCopy))},
      {"select", QJsonObject{{"VPLAYER.EXE", Text(movie::SelectPlayerParameters(prefix + "VPLAYER.EXE", prefix, state))},
                             {"BPLAY.EXE", Text(movie::SelectPlayerParameters(prefix + "BPLAY.EXE", prefix, state))},
                             {"other", Text(movie::SelectPlayerParameters(prefix + "player", prefix, state))}}}};

  const char decimal = QLocale::system().decimalPoint().front().toLatin1();
  QJsonArray report;
  app::LauncherState rstate = state;
  if (const auto facts = media::ReadAviFacts(state.MovieFileName, rstate))
    for (const media::ReportLine& line : media::BuildMediaReport(*facts, decimal)) report.append(Text(line.PlainText()));
  j["report"] = report;
  j["report_font_pt"] = media::ReportFontPoints(window.width());
  j["notes_file"] = Text(media::FindNotesFile());

  j["online"] = state.IsOnline;
  QJsonObject web;
  for (std::string_view key : title::SiteKeys) {
    const auto url = title::OpenWebSearchUrl(key, title, true);
    web[QString::fromLatin1(key.data(), key.size())] = url ? QJsonValue(Text(*url)) : QJsonValue();
  }
  j["web"] = web;
  return f;
}

void PrintHuman(const Facts& facts) {
  const QJsonObject& j = facts.json;
  for (auto it = j.begin(); it != j.end(); ++it) {
    const QJsonValue v = it.value();
    QString shown = v.isString() ? v.toString()
                                 : QString::fromUtf8(QJsonDocument(v.isObject() ? QJsonDocument(v.toObject()) : QJsonDocument(v.toArray()))
                                                         .toJson(QJsonDocument::Compact));
    if (v.isBool()) shown = v.toBool() ? "yes" : "no";
    if (v.isDouble()) shown = QString::number(v.toInt());
    std::cout << it.key().toStdString() << ": " << shown.toStdString() << "\n";
  }
  for (const std::string& warning : facts.warnings) std::cout << "warning: " << warning << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = ParseArguments(argc, argv);
  if (!options) {
    std::cerr << kUsage;
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");  // never opens a window
  QApplication application(argc, argv);
  if (chdir(options->directory.c_str()) != 0) {
    std::cerr << "autorun-inspect: cannot enter " << options->directory << "\n";
    return 2;
  }
  const std::string directory = platform::CurrentDirectory();
  const std::string launcherDirectory = WithSlash(
      options->launcherDirectory.empty() ? directory : QDir(QString::fromLocal8Bit(options->launcherDirectory)).absolutePath().toStdString());
  QTemporaryDir copy;
  if (!copy.isValid()) {
    std::cerr << "autorun-inspect: no temporary directory\n";
    return 2;
  }
  const std::string launcherCopy = WithSlash(copy.path().toStdString());
  CopyWritableIniFiles(launcherDirectory, launcherCopy);
  const Facts facts = Inspect(*options, directory, launcherDirectory, launcherCopy);
  if (options->json)
    std::cout << QJsonDocument(facts.json).toJson(QJsonDocument::Indented).toStdString();
  else
    PrintHuman(facts);
  return facts.accepted ? 0 : 1;
}
