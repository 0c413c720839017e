#include "reader/OrvikFile.h"

#include <algorithm>
#include <array>
#include <exception>
#include <limits>
#include <string>
#include <system_error>
#include <thread>

#include "RTL/RT_PCB/ObjectPool.h"
#include "RTL/RT_PCB/PcbApi.h"
#include "RTL/RT_PCB/PcbComponent.h"
#include "RTL/RT_PCB/PcbNet.h"
#include "reader/ProgressCount.h"
#include "reader/RecordLayout.h"

namespace orvik {

namespace {

TReadingThread g_readingThread = TReadingThread::Auto;

}  // namespace

void TOrvikFile::SetReadingThread(TReadingThread mode) noexcept { g_readingThread = mode; }

TOrvikFile::TOrvikFile(std::string_view fileName) : FileName(fileName), Tokens(TextFile, TProgressRule::AfterFirst) {
  TextFile.Assign(FileName.View());
  Board = std::make_unique<TPcbBoard>(pcbapi::GetCurrentBoardHandle());
  Board->SyncWithHost(smRead);
  sections_ = std::make_unique<TSections>(TextFile);
}

TOrvikFile::~TOrvikFile() {
  sections_.reset();
  try {
    TextFile.Close();
  } catch (const platform::EInOutError&) {
    // Closing a file opened for reading cannot lose data; nothing to report.
  }
  Board.reset();
}

void TOrvikFile::OpenProgress(std::string_view message, std::int64_t total) {
  const auto clamped =
      static_cast<std::int32_t>(std::clamp<std::int64_t>(total, 0, std::numeric_limits<std::int32_t>::max()));
  pcbapi::Percent_Init(message, clamped);
  progressOpen_ = true;
}

void TOrvikFile::CloseProgress() {
  progressOpen_ = false;
  pcbapi::Percent_Finish();
}

void TOrvikFile::Import() {
  // The records, then the client objects fill pool block after pool block
  // (the records on the reading worker, the objects on this thread): the
  // blocks are made ready ahead.
  const pool::TBlocksAhead blocksAhead;
  try {
    ReadFile();
    CommitToBoard();
  } catch (...) {
    if (progressOpen_) CloseProgress();
    throw;
  }
}

void TOrvikFile::ReadOnly(TReaderObserver& observer) {
  observer_ = &observer;
  Tokens.SetObserver(&observer);
  for (TSection* section : sections_->All()) section->SetObserver(&observer);
  try {
    ReadFile();
  } catch (...) {
    if (progressOpen_) CloseProgress();
    throw;
  }
}

void TOrvikFile::ReadFile() {
  TextFile.Reset();
  const std::uint64_t size = TextFile.Size();
  const std::string message = "Loading " + FileName.Str() + " (Orvik)";
  OpenProgress(message,
               static_cast<std::int64_t>(std::min<std::uint64_t>(size, std::numeric_limits<std::int32_t>::max())));
  const bool worker =
      observer_ == nullptr && (g_readingThread == TReadingThread::Worker ||
                               (g_readingThread == TReadingThread::Auto && std::thread::hardware_concurrency() >= 2));
  if (!worker || !ReadingPassOnWorker()) ReadingPass();
  CloseProgress();
}

void TOrvikFile::SetProgressCount(TProgressCount* count) noexcept {
  Tokens.SetProgressCount(count);
  for (TSection* section : sections_->All()) section->SetProgressCount(count);
}

bool TOrvikFile::ReadingPassOnWorker() {
  TProgressCount count;
  std::exception_ptr failure;
  SetProgressCount(&count);
  // The readers call the host again once the pass is over, however it ends.
  struct TCountingOff {
    TOrvikFile& file;
    ~TCountingOff() { file.SetProgressCount(nullptr); }
  } countingOff{*this};
  {
    std::jthread worker;  // joined before anything above goes
    try {
      worker = std::jthread([&] {
        try {
          ReadingPass();
        } catch (...) {
          failure = std::current_exception();
        }
        count.Finish();
      });
    } catch (const std::system_error&) {
      return false;
    }
    // The host's thread: the pass's progress calls, as the worker gets on.
    const THostStep step;
    std::uint64_t replayed = 0;
    for (bool finished = false; !finished;) {
      const std::uint64_t target = count.WaitBeyond(replayed, finished);
      for (; replayed < target; ++replayed) step();
    }
  }
  if (failure) std::rethrow_exception(failure);
  return true;
}

void TOrvikFile::ReadingPass() {
  while (!TextFile.Eof()) {
    if (const TRecordLayout* layout = FindRecordLayout(Tokens.ReadToken())) {
      if (observer_ != nullptr) [[unlikely]]
        observer_->OnRecordStart(*layout);
      sections_->Of(layout->Kind).ReadRecords();
    } else {
      if (observer_ != nullptr) [[unlikely]]
        observer_->OnLineSkipped();
      SkipLine();
    }
  }
}

void TOrvikFile::SkipLine() {
  // A token that ended by consuming an LF has already ended its line.
  if (Tokens.TokenEndedAtLineFeed()) return;
  while (!TextFile.Eof()) {
    const char c = TextFile.Read();
    if (c == '\n') return;
    if (c == '\r') {
      if (TextFile.Peek() == '\n') TextFile.Read();
      return;
    }
  }
}

void TOrvikFile::CommitToBoard() {
  TSections& s = *sections_;
  TSection* const comp = &s.Component;
  TSection* const net = &s.Net;
  const std::array<TSection*, 7> primitives = {&s.Arc, &s.Pad, &s.Via, &s.Track, &s.Text, &s.Fill, &s.Polygon};
  std::int64_t records = static_cast<std::int64_t>(comp->RecordCount() + net->RecordCount());
  for (TSection* section : primitives) records += static_cast<std::int64_t>(section->RecordCount());
  OpenProgress("Adding primitives to board...", 2 * records);

  // Each reader's records are freed once its objects exist: their room
  // serves the next reader's objects.
  for (TSection* section : {comp, net}) {
    section->CreateObjects();
    section->ReleaseRecords();
  }
  for (TSection* section : primitives) {
    section->CreateObjects();
    section->ReleaseRecords();
  }
  for (TSection* section : primitives) PlacePrimitives(*section);
  PlaceGroups(*comp);
  PlaceGroups(*net);
  CloseProgress();
}

void TOrvikFile::PlacePrimitives(const TSection& section) {
  for (const auto& object : section.Objects) {
    if (object->ObjectId == ORVIK_KIND_TRACK && TrackIsPlacedNowhere(object->LegacyLayer())) continue;
    if (object->Net != 0) AttachToNet(*object);
    if (object->Component != 0) {
      AttachToComponent(*object);
    } else {
      Board->AddObject(object->Handle);
    }
    pcbapi::Percent_Update();
  }
}

void TOrvikFile::PlaceGroups(const TSection& section) {
  for (const auto& object : section.Objects) {
    Board->AddObject(object->Handle);
    pcbapi::Percent_Update();
  }
}

void TOrvikFile::AttachToNet(TPCBObject& object) {
  if (TPcbNet* net = FindNetByNumber(sections_->Net, object.Net)) {
    pcbapi::AddObjectToContainer(net->Handle, object.Handle);
  }
}

void TOrvikFile::AttachToComponent(TPCBObject& object) {
  if (TPcbComponent* component = FindComponentByNumber(sections_->Component, object.Component)) {
    if (object.ObjectId == ORVIK_KIND_TEXT) {
      // Matched exactly, case included.
      const std::string text = object.GetText();
      if (text == ".REFDES") {
        component->DesignatorHandle = object.Handle;
      } else if (text == ".TYPE") {
        component->CommentHandle = object.Handle;
      }
      component->SyncWithHost(smRebind);
    } else {
      component->AddPrimitive(object.Handle);
    }
  }
  object.SyncWithHost(smWrite);
  object.SyncWithHost(smRead);
  object.SyncWithHost(smWrite);
}

}  // namespace orvik
