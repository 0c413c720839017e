// The section framework: one reader per record kind. A reader keeps the
// records it reads (file values, unconverted) and later turns them into host
// objects, which it owns as client objects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "RTL/RT_PCB/PcbApi.h"
#include "RTL/RT_PCB/PcbObject.h"
#include "platform/TextFile.h"
#include "reader/LayoutReader.h"
#include "reader/RecordLayout.h"
#include "reader/RecordList.h"
#include "reader/Tokenizer.h"

namespace orvik {

class TSection {
 public:
  explicit TSection(platform::TextFile& textFile) noexcept : Tokens(textFile, TProgressRule::EveryCharacter) {}
  virtual ~TSection() = default;
  TSection(const TSection&) = delete;
  TSection& operator=(const TSection&) = delete;

  // Reads one record (the fields after the keyword) and keeps it.
  virtual void ReadRecords() {}
  // Creates the host objects of all kept records, once, after reading.
  virtual void CreateObjects() {}
  virtual std::size_t RecordCount() const { return 0; }
  // Frees the kept records, once CreateObjects no longer needs them.
  virtual void ReleaseRecords() noexcept {}

  // Reports the tokens this reader reads to `observer` (nil: to nobody).
  void SetObserver(TReaderObserver* observer) noexcept { Tokens.SetObserver(observer); }
  // Counts this reader's progress steps in `count` (nil: calls the host).
  void SetProgressCount(TProgressCount* count) noexcept { Tokens.SetProgressCount(count); }

  // The client objects made by CreateObjects, in record order.
  std::vector<std::unique_ptr<TPCBObject>> Objects;

 protected:
  TTokenizer Tokens;
};

// A reader of the records of kind `Kind`, with typed record storage.
template <class Record, TRecordKind Kind>
class TSectionOf : public TSection {
 public:
  static constexpr TRecordKind kRecordKind = Kind;

  using TSection::TSection;
  std::size_t RecordCount() const override { return Records.size(); }
  void ReleaseRecords() noexcept override { Records.clear(); }

  TRecordList<Record> Records;

 protected:
  // Reads the record's fields through its layout, one target per field
  // (LayoutReader.h).
  template <auto... Targets>
  void ReadFields(Record& record) {
    orvik::ReadFields<Kind, Targets...>(Tokens, record);
  }
  void KeepRecord(const Record& record) {
    Records.push_back(record);
    Tokens.ProgressStep();
  }
};

// Asks the host for a new object of a kind and wraps it, starting from the
// host's defaults for a new object.
template <class Object>
std::unique_ptr<Object> NewHostObject(std::uint8_t kind) {
  auto object = std::make_unique<Object>(pcbapi::CreateObject(kind));
  object->SyncWithHost(smRead);
  return object;
}

// A reader that makes one host object per record, of the object kind its
// layout names, setting its attributes with the stateless
// ApplyRecord(const Record&, Object&) that the record's header declares.
template <class Record, class Object, TRecordKind Kind>
class TRecordSection : public TSectionOf<Record, Kind> {
 public:
  using TSectionOf<Record, Kind>::TSectionOf;

  void CreateObjects() override {
    this->Objects.reserve(this->Objects.size() + this->Records.size());
    for (const Record& record : this->Records) {
      auto object = NewHostObject<Object>(LayoutOf(Kind).Object);
      ApplyRecord(record, *object);
      object->SyncWithHost(smWrite);
      this->Objects.push_back(std::move(object));
      pcbapi::Percent_Update();
    }
  }
};

}  // namespace orvik
