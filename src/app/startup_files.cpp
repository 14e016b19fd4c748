#include "app/startup_files.h"

#include "media/avi.h"
#include "media/jpeg_decoder.h"
#include "media/poster.h"
#include "movie/discovery.h"
#include "platform/file_reader.h"
#include "platform/names.h"

namespace app {

namespace {

platform::Result<PosterHead> ReadPosterHead(const std::string& file) {
  platform::Result<std::string> bytes = media::ReadJpegHead(file);
  if (!bytes) return platform::Failure{bytes.error()};
  const platform::Result<QSize> natural = media::ReadPosterSize(file, *bytes);
  if (!natural) return platform::Failure{natural.error()};
  return PosterHead{std::move(*bytes), *natural};
}

// A JPEG poster starts from the bytes its header came with; a BMP poster is read whole.
platform::Result<QImage> ReadPosterPicture(const StartupNeed& need, const StartupFacts& facts) {
  if (facts.posterHead && *facts.posterHead)
    return media::LoadPictureAsBitmap(need.file, need.decodeAt, (*facts.posterHead)->bytes);
  return media::LoadBmpPoster(need.file);
}

std::optional<std::string> ReadIni(const std::string& path, const std::map<std::string, std::string>& planned) {
  const std::optional<std::string> onDisk = platform::ResolveCase(path);
  if (!onDisk) return std::nullopt;
  if (const auto content = planned.find(*onDisk); content != planned.end()) return content->second;
  return platform::ReadProfileContent(*onDisk);
}

}  // namespace

std::optional<media::AviFacts> ReadAviFacts(const std::string& movieFileName) {
  const platform::FileReader movie(movieFileName);
  if (!movie.ok()) return std::nullopt;
  return media::ReadAviFactsWith(
      [&](std::int64_t offset, std::size_t count) { return std::optional<std::string>(movie.ReadAt(offset, count)); },
      movie.size());
}

media::InfoPanelContent ReadInfoPanel(const std::string& movieFileName, const std::string& notesFile,
                                      int windowWidth, char decimalSeparator) {
  const platform::Result<std::string> notes = platform::IsTrustedEntry(notesFile)
                                                  ? platform::ReadFileHead(notesFile, media::kMaxNotesBytes)
                                                  : platform::Result<std::string>(std::string());
  return media::BuildInfoPanel(ReadAviFacts(movieFileName), notesFile, notes, windowWidth, decimalSeparator);
}

movie::LaunchFiles ReadLaunchFiles(const std::string& launcherDirectory, const std::map<std::string, std::string>& planned) {
  movie::LaunchFiles files;
  files.vplayerIni = ReadIni(launcherDirectory + std::string(movie::kVPlayer.iniReadName), planned);
  files.bplayerIni = ReadIni(launcherDirectory + std::string(movie::kBSPlayer.iniWriteName), planned);
  for (const movie::Player* player : movie::kPlayers)
    if (const std::string program(player->executable); platform::FileExists(program))
      files.programs[player->kind] = platform::ResolveCase(program).value_or(program);
  for (const std::string& entry : movie::EntriesToCheck(files))
    if (platform::FileExists(entry)) files.existingEntries.insert(entry);
  return files;
}

namespace {

// The facts the plan asked for so far, and the INI files it opened, kept open until it is complete.
class StartupRunner {
 public:
  StartupRunner(const SystemFacts& system, const IniWriter& writeIni) : system_(system), writeIni_(writeIni) {}

  // Reads the fact, or carries out the step, that `plan` needs next into `facts`.
  void Fulfil(const StartupPlan& plan, StartupFacts& facts);

 private:
  movie::LauncherFiles ReadLauncherFiles(const platform::Listing& here) const;

  const SystemFacts& system_;
  const IniWriter& writeIni_;
  std::map<std::string, platform::ProfileFile> iniFiles_;
};

// The launcher's directory is listed only when it is not the disc's own.
movie::LauncherFiles StartupRunner::ReadLauncherFiles(const platform::Listing& here) const {
  const std::string& directory = system_.launcherDirectory;
  movie::LauncherFiles launcher;
  launcher.directory = directory;
  if (directory.empty()) {
    launcher.listing = {platform::kNothingFound, {}};
    return launcher;
  }
  launcher.listing = platform::SameDirectory(directory, platform::CurrentDirectory())
                         ? here
                         : platform::ListDirectory(directory, movie::kStartupNames);
  // Probing the medium must never bring up a system prompt; nothing here can raise one.
  launcher.mediumReady = platform::IsOnDrive(directory) && platform::IsMediumReady(directory, launcher.listing.code);
  return launcher;
}

void StartupRunner::Fulfil(const StartupPlan& plan, StartupFacts& facts) {
  using Need = StartupNeed::Kind;
  const StartupNeed& need = *plan.need;
  switch (need.kind) {
    case Need::MovieFormType:
      facts.movieFormType = platform::ReadAt(need.file, media::kFormTypeOffset, media::kFormTypeSize).value_or("");
      break;
    case Need::LauncherFiles: facts.launcher = ReadLauncherFiles(facts.here); break;
    case Need::IniFile: {
      platform::ProfileFile& file = iniFiles_[need.file] = platform::ProfileFile::Open(need.file);
      facts.launcher->iniFiles[need.file] = file.facts();
      break;
    }
    case Need::IniWrite: facts.iniWritten[need.file] = writeIni_(plan.iniFiles.back(), iniFiles_[need.file]); break;
    case Need::PosterHead: facts.posterHead = ReadPosterHead(need.file); break;
    case Need::PosterPicture: facts.poster = ReadPosterPicture(need, facts); break;
    case Need::Online: facts.online = system_.isOnline(); break;
  }
}

}  // namespace

StartupPlan RunStartup(const SystemFacts& system, double pixelRatio, const IniWriter& writeIni) {
  StartupFacts facts;
  facts.screen = system.screen;
  facts.work = system.work;
  facts.pixelRatio = pixelRatio;
  facts.here = platform::ListDirectory("", movie::kStartupNames);
  StartupRunner runner(system, writeIni);
  // Every need is a different fact, and each answer is one, so the start-up asks at most once for
  // each of them.
  for (;;) {
    StartupPlan plan = PlanStartup(facts);
    if (!plan.need) return plan;
    runner.Fulfil(plan, facts);
  }
}

}  // namespace app
