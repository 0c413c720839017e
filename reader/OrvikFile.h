// TOrvikFile: one import of one Orvik ASCII PCB file into the host's current
// board. A reading pass hands every record to the section reader of its
// keyword; a commit pass creates the host objects and attaches them to nets,
// components and the board.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "RTL/RT_PCB/PcbBoard.h"
#include "RTL/RT_PCB/PcbObject.h"
#include "RTL/RT_PCB/ShortString.h"
#include "platform/TextFile.h"
#include "reader/ReaderObserver.h"
#include "reader/Sections.h"
#include "reader/Tokenizer.h"

namespace orvik {

// Where the reading pass runs. On a worker thread, the host's thread makes
// the pass's progress calls meanwhile, the same calls in the same order; the
// pass makes no other host call. Auto: on a worker when the machine has two
// hardware threads or more, and never while an observer watches the tokens.
enum class TReadingThread : std::uint8_t { Auto, Caller, Worker };

class TOrvikFile {
 public:
  // For tests of both roads; Auto by default.
  static void SetReadingThread(TReadingThread mode) noexcept;

  // Binds the file (without opening it), reads the current board from the
  // host and makes the nine section readers.
  explicit TOrvikFile(std::string_view fileName);
  // Frees the readers, closes the file, frees the client board. Host objects
  // stay in the host.
  ~TOrvikFile();
  TOrvikFile(const TOrvikFile&) = delete;
  TOrvikFile& operator=(const TOrvikFile&) = delete;

  // The whole import, once. Raises platform::EInOutError for a file that
  // cannot be opened, sized or read, and passes on ELayerException and
  // EAssertionFailed from the object model; a progress range it opened is
  // closed before the exception leaves.
  void Import();

  // The reading pass alone, with every token and the driver's decision on
  // it reported to `observer`: the readers keep their records; nothing is
  // created in the host. Raises as Import does. Called once, instead of
  // Import.
  void ReadOnly(TReaderObserver& observer);

  // The section readers, with their records (after ReadOnly) or their
  // objects (after Import).
  TSections& Sections() noexcept { return *sections_; }
  const TSections& Sections() const noexcept { return *sections_; }

 private:
  // Opens the file and runs the reading pass within its progress range.
  void ReadFile();
  void ReadingPass();
  // The reading pass on a worker thread; false when no thread could be
  // started (nothing was read then).
  bool ReadingPassOnWorker();
  void SetProgressCount(TProgressCount* count) noexcept;
  // Discards the rest of the line of the token just read.
  void SkipLine();
  void CommitToBoard();
  void PlacePrimitives(const TSection& section);
  void PlaceGroups(const TSection& section);
  void AttachToNet(TPCBObject& object);
  void AttachToComponent(TPCBObject& object);

  void OpenProgress(std::string_view message, std::int64_t total);
  void CloseProgress();

  ShortString<255> FileName;
  platform::TextFile TextFile;
  TTokenizer Tokens;
  std::unique_ptr<TSections> sections_;
  std::unique_ptr<TPcbBoard> Board;
  bool progressOpen_ = false;
  TReaderObserver* observer_ = nullptr;
};

}  // namespace orvik
