// The section framework: one reader per record keyword. A reader keeps the
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

// A reader with typed record storage.
template <class Record>
class TSectionOf : public TSection {
 public:
  using TSection::TSection;
  std::size_t RecordCount() const override { return Records.size(); }
  void ReleaseRecords() noexcept override { Records.clear(); }

  TRecordList<Record> Records;

 protected:
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

// A reader that makes one host object of kind `Kind` per record, setting its
// attributes with the stateless ApplyRecord(const Record&, Object&) that the
// record's header declares.
template <class Record, class Object, std::uint8_t Kind>
class TRecordSection : public TSectionOf<Record> {
 public:
  using TSectionOf<Record>::TSectionOf;

  void CreateObjects() override {
    this->Objects.reserve(this->Objects.size() + this->Records.size());
    for (const Record& record : this->Records) {
      auto object = NewHostObject<Object>(Kind);
      ApplyRecord(record, *object);
      object->SyncWithHost(smWrite);
      this->Objects.push_back(std::move(object));
      pcbapi::Percent_Update();
    }
  }
};

}  // namespace orvik
