// Generates a realistic Orvik ASCII PCB board from a seed: components with
// their pads, outlines and labels, nets joining the pads, routed tracks and
// arcs with vias, copper fills and pours, and free texts. The same seed and
// counts give the same bytes on every platform: only integer arithmetic and
// the generator's own random sequence decide the output.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "tools/orvik-gen/BoardCounts.h"
#include "tools/orvik-gen/Random.h"
#include "tools/orvik-gen/RecordWriter.h"

namespace orvik::gen {

// The header line; the importer skips it as an unknown keyword.
inline constexpr std::string_view kHeaderLine = "ORVIK ASCII PCB GENERATED";
// All coordinates lie in 0..kMaxCoordinate mils.
inline constexpr std::int32_t kMaxCoordinate = 20000;

class BoardGenerator {
 public:
  // Counts above the limits of BoardCounts.h are clamped to them.
  BoardGenerator(std::uint64_t seed, const BoardCounts& counts) noexcept;

  // Writes the whole board and flushes the writer; false when the output
  // failed. May be called again and writes the same text again.
  bool Generate(RecordWriter& out);

  // Records written by the last Generate, per kind. Equals the requested
  // counts after a complete run.
  [[nodiscard]] const BoardCounts& Written() const noexcept { return written_; }
  [[nodiscard]] const BoardCounts& Requested() const noexcept { return counts_; }

 private:
  struct Component {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t halfWidth = 0;
    std::int32_t halfHeight = 0;
    std::uint32_t firstPad = 0;
    std::uint32_t pins = 0;
    std::uint32_t designatorNumber = 0;
    std::uint16_t kind = 0;
    std::uint8_t rotation = 0;  // quarter turns
    std::uint8_t value = 0;     // index into the comment values of its family
    bool bottom = false;
  };
  struct Pad {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t net = 0;
    std::uint32_t component = 0;  // 1-based number, 0 for none
    std::int32_t xSize = 0;
    std::int32_t ySize = 0;
    std::int32_t hole = 0;
    std::uint32_t pin = 0;
    bool square = false;
    std::uint8_t side = 0;  // 0 top, 1 bottom, 2 all layers
  };
  struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
  };

  void Reset();
  void PlanBoard();
  void PlaceComponents();
  void PlaceFreePads();
  void AssignNets();
  void GroupPadsByNet();

  void WriteNets();
  void WriteComponents();
  void WriteComponentDetails(std::uint32_t index);
  void WritePad(const Pad& pad, std::uint32_t pin, std::uint32_t component);
  void WriteRouting();
  void WriteRoute(const Pad& from, const Pad& to, std::int32_t net, std::uint32_t segments, std::uint32_t vias,
                  std::uint32_t arcs);
  void WriteFreeGraphics();
  void WriteFills();
  void WritePolygons();
  void WriteFreeTexts();

  void Line(std::int32_t width, std::int32_t layer, Point a, Point b, std::int32_t net, std::uint32_t component);
  void Arc(std::int32_t radius, std::int32_t start, std::int32_t sweep, std::int32_t width, std::int32_t layer,
           Point centre, std::int32_t net, std::uint32_t component);
  void Via(Point at, std::int32_t size, std::int32_t hole, std::int32_t net);
  void Text(std::string_view text, std::int32_t height, std::int32_t rotationCode, std::int32_t width,
            std::int32_t layer, Point at, std::uint32_t component);
  void Fill(std::int32_t layer, Point a, Point b, std::int32_t net, std::uint32_t component);
  [[nodiscard]] static TokenValue Bare(std::string_view word) noexcept;  // quoted when it holds a blank

  [[nodiscard]] Point Clamp(std::int64_t x, std::int64_t y) const noexcept;
  [[nodiscard]] Point RandomPoint() noexcept;
  [[nodiscard]] std::int32_t CopperLayer() noexcept;
  [[nodiscard]] std::int32_t PowerNet() noexcept;
  [[nodiscard]] std::uint32_t RandomComponent() noexcept;

  std::uint64_t seed_;
  BoardCounts counts_;
  BoardCounts written_;
  SplitMix64 random_;
  RecordWriter* out_ = nullptr;

  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::uint32_t powerNets_ = 0;
  std::uint64_t connections_ = 0;
  std::uint32_t silkLines_ = 0;
  std::uint32_t routeTracks_ = 0;
  std::uint32_t componentArcs_ = 0;
  std::uint32_t routeArcs_ = 0;
  std::uint32_t routeVias_ = 0;
  std::uint32_t labelTexts_ = 0;
  std::uint32_t markerTexts_ = 0;

  std::vector<Component> components_;
  std::vector<Pad> pads_;
  std::vector<std::uint32_t> netStart_;  // pads of net n: netOrder_[netStart_[n] .. netStart_[n + 1])
  std::vector<std::uint32_t> netOrder_;
};

}  // namespace orvik::gen
