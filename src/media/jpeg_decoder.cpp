#include "media/jpeg_decoder.h"

#include "media/jpeg_scans.h"
#include "platform/files.h"

#include <QSysInfo>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <optional>
#include <string>

// jpeglib.h needs FILE and size_t declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace media {
namespace {

// A progressive file may legally hold thousands of tiny scans, and every scan walks the whole
// picture: a small file could keep the launcher busy for minutes. Real encoders write about ten.
constexpr int kMaxScans = 500;
// Scans times pixels: about a second of decoding here. A poster of the largest allowed size still
// gets 32 scans, three times what encoders write.
constexpr double kMaxScanPixels = 1 << 30;

// What libjpeg itself may allocate: the coefficients the header check lets through and room for its
// row buffers. Past this libjpeg stops with "Backing store not supported" instead of growing.
constexpr long kMaxDecoderMemory = static_cast<long>(kMaxCoefficientBytes + (std::int64_t{16} << 20));

// How many output rows one jpeg_read_scanlines call may fill.
constexpr int kRowsPerCall = 16;

// How much of the file is read at a time.
constexpr std::size_t kChunkBytes = std::size_t{256} << 10;

// Our error manager: libjpeg's default one calls exit(), which a launcher must never do.
// `pub` comes first so that the pointer libjpeg passes around is also a pointer to this struct.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool readingRows;  // past jpeg_start_decompress
};

// The file, read in chunks through the platform's reader (which refuses what is not a regular
// file and never blocks), so that neither a disc's special file nor a large poster is read whole.
struct Source {
  jpeg_source_mgr pub;
  const std::string* path;
  std::int64_t next;    // file offset of the byte after `chunk`
  std::string chunk;
  JOCTET endMarker[2];  // what libjpeg is handed when the file ends early
};

// Everything one decode needs, kept in the caller's frame so that the functions holding a setjmp
// own no C++ objects: a longjmp out of libjpeg then skips no destructor.
struct Job {
  jpeg_decompress_struct cinfo{};
  ErrorManager errors{};
  jpeg_progress_mgr progress{};
  Source source{};
  bool cmyk = false;
  std::int64_t coefficientBytes = 0;
  int scansDecoded = 0;
};

// libjpeg's client_data points to the job.
Job& JobOf(j_common_ptr cinfo) { return *static_cast<Job*>(cinfo->client_data); }
Source& SourceOf(j_decompress_ptr cinfo) { return JobOf(reinterpret_cast<j_common_ptr>(cinfo)).source; }

[[noreturn]] void FailWithMessage(j_common_ptr cinfo, const char* message);

enum class Chunk { Read, End, OverCap };

// Reads the next chunk into source.chunk, never past kMaxPosterFileBytes. Plain C++ with no
// longjmp inside, so its objects are gone before libjpeg may jump.
Chunk ReadNextChunk(Source& source) {
  if (source.path->empty()) return Chunk::End;  // bytes from memory: the first chunk was all of them
  if (source.next >= kMaxPosterFileBytes) return Chunk::OverCap;
  const auto want = static_cast<std::size_t>(
      std::min<std::int64_t>(static_cast<std::int64_t>(kChunkBytes), kMaxPosterFileBytes - source.next));
  std::optional<std::string> bytes = platform::ReadAt(*source.path, source.next, want);
  if (!bytes || bytes->empty()) return Chunk::End;
  source.next += static_cast<std::int64_t>(bytes->size());
  source.chunk = std::move(*bytes);
  return Chunk::Read;
}

constexpr const char* kFileTooLarge = "The JPEG file is larger than any poster (over 64 MiB)";
static_assert(kMaxPosterFileBytes == std::int64_t{64} << 20, "kFileTooLarge names the limit");

void SetBuffer(Source& source, const JOCTET* bytes, std::size_t size) {
  source.pub.next_input_byte = bytes;
  source.pub.bytes_in_buffer = size;
}

void OnInitSource(j_decompress_ptr) {}
void OnTermSource(j_decompress_ptr) {}

// As libjpeg's own file source does: an empty file is an error, a file that ends early gets a
// warning (which OnEmitMessage turns into an error unless only the end is missing) and a fake end
// marker.
boolean OnFillInput(j_decompress_ptr cinfo) {
  Source& source = SourceOf(cinfo);
  const Chunk chunk = ReadNextChunk(source);
  if (chunk == Chunk::OverCap) FailWithMessage(reinterpret_cast<j_common_ptr>(cinfo), kFileTooLarge);
  if (chunk == Chunk::Read) {
    SetBuffer(source, reinterpret_cast<const JOCTET*>(source.chunk.data()), source.chunk.size());
    return TRUE;
  }
  if (source.next == 0) ERREXIT(cinfo, JERR_INPUT_EMPTY);
  WARNMS(cinfo, JWRN_JPEG_EOF);
  source.endMarker[0] = 0xFF;
  source.endMarker[1] = JPEG_EOI;
  SetBuffer(source, source.endMarker, 2);
  return TRUE;
}

// Skipped data that lies beyond the chunk is never read.
void OnSkipInput(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  Source& source = SourceOf(cinfo);
  const auto skip = static_cast<std::size_t>(count);
  if (skip <= source.pub.bytes_in_buffer) {
    SetBuffer(source, source.pub.next_input_byte + skip, source.pub.bytes_in_buffer - skip);
    return;
  }
  source.next += static_cast<std::int64_t>(skip - source.pub.bytes_in_buffer);
  SetBuffer(source, nullptr, 0);
}

// Starts the source on the first chunk, which the caller read (and whose failure it reported).
void StartSource(Source& source, const std::string& path, std::string firstChunk) {
  source.path = &path;
  source.next = static_cast<std::int64_t>(firstChunk.size());
  source.chunk = std::move(firstChunk);
  source.pub.init_source = OnInitSource;
  source.pub.fill_input_buffer = OnFillInput;
  source.pub.skip_input_data = OnSkipInput;
  source.pub.resync_to_restart = jpeg_resync_to_restart;
  source.pub.term_source = OnTermSource;
  SetBuffer(source, reinterpret_cast<const JOCTET*>(source.chunk.data()), source.chunk.size());
}

ErrorManager& ErrorsOf(j_common_ptr cinfo) { return *reinterpret_cast<ErrorManager*>(cinfo->err); }

[[noreturn]] void FailWithLibraryMessage(j_common_ptr cinfo) {
  (*cinfo->err->format_message)(cinfo, ErrorsOf(cinfo).message);
  std::longjmp(ErrorsOf(cinfo).jump, 1);
}

void FailWithMessage(j_common_ptr cinfo, const char* message) {
  std::snprintf(ErrorsOf(cinfo).message, JMSG_LENGTH_MAX, "%s", message);
  std::longjmp(ErrorsOf(cinfo).jump, 1);
}

void OnErrorExit(j_common_ptr cinfo) { FailWithLibraryMessage(cinfo); }

// True while the missing data can only be the end marker or part of the last row of blocks: the
// file then shows in full (or nearly so), which is how files written without an EOI marker look.
bool OnlyTheEndIsMissing(j_decompress_ptr cinfo) {
  const bool singleScan = !cinfo->progressive_mode && cinfo->comps_in_scan == cinfo->num_components;
  return singleScan && ErrorsOf(reinterpret_cast<j_common_ptr>(cinfo)).readingRows &&
         cinfo->input_iMCU_row + 1 >= cinfo->total_iMCU_rows;
}

// Warnings (level -1) are tolerated except running out of data: libjpeg would pad the rest of the
// picture with grey and call it a success, and a file cut short must be reported as damaged.
void OnEmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace output
  if (cinfo->err->msg_code == JWRN_JPEG_EOF && cinfo->is_decompressor &&
      !OnlyTheEndIsMissing(reinterpret_cast<j_decompress_ptr>(cinfo)))
    FailWithLibraryMessage(cinfo);
  ++cinfo->err->num_warnings;
}

// Each scan of a progressive file costs work in proportion to the picture's area, so a large
// picture with many (even empty) scans can stall the start-up for seconds: bound both.
int ScanLimit(JDIMENSION width, JDIMENSION height) {
  const double pixels = static_cast<double>(width) * height;
  return pixels * kMaxScans <= kMaxScanPixels ? kMaxScans : static_cast<int>(kMaxScanPixels / pixels);
}

void FormatScanProblem(char (&message)[JMSG_LENGTH_MAX], int limit) {
  std::snprintf(message, JMSG_LENGTH_MAX,
                limit == kMaxScans ? "The JPEG file has more than %d scans"
                                   : "The JPEG file has too many scans for its size (more than %d)",
                limit);
}

// The scans were counted before decoding began; this catches a file that changed since, as the
// decoder meets each scan and before it decodes any of it.
void OnProgress(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  const auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
  Job& job = JobOf(cinfo);
  job.scansDecoded = std::max(job.scansDecoded, decompress->input_scan_number);
  const int limit = ScanLimit(decompress->image_width, decompress->image_height);
  if (decompress->input_scan_number <= limit) return;
  FormatScanProblem(ErrorsOf(cinfo).message, limit);
  std::longjmp(ErrorsOf(cinfo).jump, 1);
}

// The whole-picture coefficient buffer that libjpeg allocates for a file of several scans, as its
// coefficient controller sizes it (each component rounded up to whole MCUs); 0 for one scan.
std::int64_t CoefficientBytes(j_decompress_ptr cinfo) {
  if (!jpeg_has_multiple_scans(cinfo)) return 0;
  std::int64_t bytes = 0;
  for (int i = 0; i < cinfo->num_components; ++i) {
    const jpeg_component_info& c = cinfo->comp_info[i];
    const std::int64_t across = (c.width_in_blocks + c.h_samp_factor - 1) / c.h_samp_factor * c.h_samp_factor;
    const std::int64_t down = (c.height_in_blocks + c.v_samp_factor - 1) / c.v_samp_factor * c.v_samp_factor;
    bytes += across * down * static_cast<std::int64_t>(sizeof(JBLOCK));
  }
  return bytes;
}

// Phase 1: create the decompressor and read the header. Holds a setjmp: PODs only.
bool ReadHeader(Job& job) {
  job.cinfo.err = jpeg_std_error(&job.errors.pub);
  job.errors.pub.error_exit = OnErrorExit;
  job.errors.pub.emit_message = OnEmitMessage;
  job.progress.progress_monitor = OnProgress;
  if (setjmp(job.errors.jump) != 0) return false;
  jpeg_create_decompress(&job.cinfo);
  job.cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
  job.cinfo.progress = &job.progress;
  job.cinfo.client_data = &job;
  job.cinfo.src = &job.source.pub;
  jpeg_read_header(&job.cinfo, TRUE);
  job.coefficientBytes = CoefficientBytes(&job.cinfo);
  job.cmyk = job.cinfo.jpeg_color_space == JCS_CMYK || job.cinfo.jpeg_color_space == JCS_YCCK;
  // Format_RGB32 is one native 32-bit word 0xFFRRGGBB per pixel, so its byte order follows the CPU.
  const J_COLOR_SPACE rgb32 =
      QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB;
  job.cinfo.out_color_space = job.cmyk ? JCS_CMYK : rgb32;
  return true;
}

// Adobe's writers (nearly every CMYK JPEG) store the inks inverted: 255 means no ink.
void CmykRowToRgb32(const JSAMPLE* in, JDIMENSION width, bool inverted, QRgb* out) {
  for (JDIMENSION x = 0; x < width; ++x, in += 4) {
    const int c = inverted ? in[0] : 255 - in[0];
    const int m = inverted ? in[1] : 255 - in[1];
    const int y = inverted ? in[2] : 255 - in[2];
    const int k = inverted ? in[3] : 255 - in[3];
    out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
  }
}

// Phase 2: decode every row straight into `image`, which has the header's size. Holds a setjmp:
// only PODs live here (scanLine() returns a plain pointer).
bool DecodeRows(Job& job, QImage& image) {
  if (setjmp(job.errors.jump) != 0) return false;
  jpeg_start_decompress(&job.cinfo);
  job.errors.readingRows = true;
  j_decompress_ptr cinfo = &job.cinfo;
  JSAMPARRAY cmykRow = nullptr;
  if (job.cmyk)
    cmykRow = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                          cinfo->output_width * 4, 1);
  while (cinfo->output_scanline < cinfo->output_height) {
    if (job.cmyk) {
      jpeg_read_scanlines(cinfo, cmykRow, 1);
      const int y = static_cast<int>(cinfo->output_scanline) - 1;
      CmykRowToRgb32(cmykRow[0], cinfo->output_width, cinfo->saw_Adobe_marker,
                     reinterpret_cast<QRgb*>(image.scanLine(y)));
      continue;
    }
    JSAMPROW rows[kRowsPerCall];
    const JDIMENSION first = cinfo->output_scanline;
    const JDIMENSION count = std::min<JDIMENSION>(kRowsPerCall, cinfo->output_height - first);
    for (JDIMENSION i = 0; i < count; ++i) rows[i] = image.scanLine(static_cast<int>(first + i));
    jpeg_read_scanlines(cinfo, rows, count);
  }
  // No jpeg_finish_decompress: every row is out, and reading on to the end marker would only
  // give a file that lacks one a chance to fail after the picture is complete.
  return true;
}

// Picks the smallest of libjpeg's scales n/8 whose output still covers `want` in both directions
// (8/8, full size, when none smaller does). Holds a setjmp: PODs only.
bool ChooseScale(Job& job, JDIMENSION wantWidth, JDIMENSION wantHeight) {
  if (setjmp(job.errors.jump) != 0) return false;
  job.cinfo.scale_denom = 8;
  for (unsigned int n = 1; n <= 8; ++n) {
    job.cinfo.scale_num = n;
    jpeg_calc_output_dimensions(&job.cinfo);
    if (job.cinfo.output_width >= wantWidth && job.cinfo.output_height >= wantHeight) break;
  }
  return true;
}

// The first chunk of the file; a failure that names the file when it cannot be read at all.
platform::Result<std::string> FirstChunk(const std::string& path) {
  platform::Result<std::string> read = platform::ReadFileHead(path, kChunkBytes);
  if (!read) return platform::Failure{platform::CannotOpenMessage(path, read.error())};
  return read;
}

// Decodes the picture at the scale ChooseScale picks for `want`.
platform::Result<void> DecodeScaled(Job& job, QSize want, QImage& image) {
  if (!ChooseScale(job, static_cast<JDIMENSION>(want.width()),
                   static_cast<JDIMENSION>(want.height())))
    return platform::Failure{job.errors.message};
  image = QImage(static_cast<int>(job.cinfo.output_width),
                 static_cast<int>(job.cinfo.output_height), QImage::Format_RGB32);
  if (image.isNull()) return platform::Failure{"Not enough memory to decode the picture"};
  if (!DecodeRows(job, image)) return platform::Failure{job.errors.message};
  return {};
}

// Whether the file's coefficients fit the decoder's budget.
platform::Result<void> CheckCoefficients(const Job& job) {
  if (job.coefficientBytes <= kMaxCoefficientBytes) return {};
  return platform::Failure{"The picture is too large to show: " + std::to_string(job.cinfo.image_width) + " x " +
                           std::to_string(job.cinfo.image_height) + " pixels in " +
                           std::to_string(job.cinfo.num_components) + " components and several scans need " +
                           std::to_string(job.coefficientBytes >> 20) + " MiB to decode (at most " +
                           std::to_string(kMaxCoefficientBytes >> 20) + " MiB)"};
}

// Counts the file's scans from its markers, so that a file with too many is refused before the
// decoder spends any work on them.
platform::Result<void> CheckScanCount(Job& job, JpegWork& work) {
  if (job.source.path->empty()) return {};  // the program's own pictures
  const int limit = ScanLimit(job.cinfo.image_width, job.cinfo.image_height);
  // While the source still holds the file's first chunk, the walk starts from those bytes.
  const Source& source = job.source;
  const bool firstChunk = source.next == static_cast<std::int64_t>(source.chunk.size());
  const ScanCount count =
      CountJpegScans(*source.path, firstChunk ? std::string_view(source.chunk) : std::string_view(), limit,
                     kMaxPosterFileBytes);
  work.scansCounted = count.scans;
  work.bytesRead = std::max(work.bytesRead, count.bytesRead);
  if (count.overCap) return platform::Failure{kFileTooLarge};
  if (count.scans <= limit) return {};
  FormatScanProblem(job.errors.message, limit);
  return platform::Failure{job.errors.message};
}

// Reads the header into `natural` and checks it; with `atLeast` (nullptr: header only) also decodes
// the picture into `image`, at full size when `atLeast` is empty.
platform::Result<void> ReadAndDecode(Job& job, const QSize* atLeast, QSize& natural, QImage& image, JpegWork& work) {
  if (!ReadHeader(job)) return platform::Failure{job.errors.message};
  // At most 65535 a side, so both fit an int.
  natural = QSize(static_cast<int>(job.cinfo.image_width), static_cast<int>(job.cinfo.image_height));
  if (platform::Result<void> size = CheckPictureSize(natural.width(), natural.height()); !size) return size;
  if (platform::Result<void> memory = CheckCoefficients(job); !memory) return memory;
  if (!atLeast) return {};
  if (platform::Result<void> scans = CheckScanCount(job, work); !scans) return scans;
  return DecodeScaled(job, atLeast->isEmpty() ? natural : *atLeast, image);
}

// ReadAndDecode on a decoder of its own, released before the result is given; what it read and
// kept goes to `work`, on failure too.
platform::Result<QImage> Run(const std::string& path, std::string firstChunk, const QSize* atLeast,
                             QSize& natural, JpegWork& work) {
  Job job;
  StartSource(job.source, path, std::move(firstChunk));
  QImage image;
  const platform::Result<void> done = ReadAndDecode(job, atLeast, natural, image, work);
  jpeg_destroy_decompress(&job.cinfo);
  work.bytesRead = std::max(work.bytesRead, job.source.next);
  work.scansDecoded = job.scansDecoded;
  work.coefficientBytes = job.coefficientBytes;
  if (!done) return platform::Failure{done.error()};
  return image;
}

}  // namespace

platform::Result<void> CheckPictureSize(std::int64_t width, std::int64_t height, std::int64_t maxBytes) {
  if (width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
      width * height * 4 <= maxBytes)
    return {};
  return platform::Failure{"The picture is too large to show: " + std::to_string(width) + " x " +
                           std::to_string(height) + " pixels (at most " + std::to_string(kMaxPictureSide) +
                           " pixels a side and " + std::to_string(maxBytes >> 20) + " MiB decoded)"};
}

platform::Result<std::string> ReadJpegHead(const std::string& path) { return FirstChunk(path); }

platform::Result<QSize> ReadJpegSize(const std::string& path, std::optional<std::string> head) {
  if (!head) {
    platform::Result<std::string> chunk = FirstChunk(path);
    if (!chunk) return platform::Failure{chunk.error()};
    head = std::move(*chunk);
  }
  QSize natural;
  JpegWork work;
  const platform::Result<QImage> header = Run(path, std::move(*head), nullptr, natural, work);
  if (!header) return platform::Failure{header.error()};
  return natural;
}

platform::Result<QImage> DecodeJpegFile(const std::string& path, QSize atLeast, JpegWork* work,
                                        std::optional<std::string> head) {
  QSize natural;
  JpegWork counted;
  JpegWork& into = work ? *work : counted;
  into = {};
  if (!head) {
    platform::Result<std::string> chunk = FirstChunk(path);
    if (!chunk) return platform::Failure{chunk.error()};
    head = std::move(*chunk);
  }
  return Run(path, std::move(*head), &atLeast, natural, into);
}

platform::Result<QImage> DecodeJpegBytes(std::string bytes) {
  QSize natural;
  const QSize fullSize;
  static const std::string kInMemory;
  JpegWork work;
  return Run(kInMemory, std::move(bytes), &fullSize, natural, work);
}

}  // namespace media
