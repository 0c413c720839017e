#include "RTL/RT_PCB/PcbText.h"

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

TPcbText::TPcbText(std::uint32_t handle) noexcept : TPCBObject(handle) { ObjectId = ORVIK_KIND_TEXT; }

std::int32_t TPcbText::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  pcbapi::QueryText(mode, Handle, &Flags, &Index, &LayerId, &Net, &AuxByte, &Component, &X, &Y, &Height, &TextOption,
                    &Rotation, &Mirrored, HostArg(Text), &Width, &Param2, &Param3);
  std::int32_t result = pcbapi::QueryTrueTypeTextInfo(mode, Handle, &TrueTypeKind, HostArg(FontName), &TrueTypeFlag1,
                                                      &TrueTypeFlag2, &TrueTypeFlag3, &TrueTypeValue);
  // Refreshed in every mode; empty when the host has no display string.
  pcbapi::GetDesignatorDisplayString(DisplayText, Handle);
  if (pcbapi::QueryBarCodeTextInfo(mode, Handle, &BarCodeInfo[0], &BarCodeInfo[1], &BarCodeInfo[2], &BarCodeInfo[3]) ==
      1) {
    result = 1;
  }
  return result;
}

std::int32_t TPcbText::GetParam2() const { return Param2; }
std::int32_t TPcbText::GetParam3() const { return Param3; }
double TPcbText::GetRotation() const { return Rotation; }
std::int32_t TPcbText::GetWidth() const { return Width; }
std::int32_t TPcbText::GetSize() const { return Height; }
std::int32_t TPcbText::GetLineWidth() const { return Width; }
std::int32_t TPcbText::GetTextOption() const { return TextOption; }
bool TPcbText::GetMirrored() const { return Mirrored != 0; }
std::string TPcbText::GetText() { return Text.Str(); }
void TPcbText::SetParam2(std::int32_t value) { Param2 = value; }
void TPcbText::SetParam3(std::int32_t value) { Param3 = value; }
void TPcbText::SetRotation(double value) { Rotation = value; }
void TPcbText::SetSize(std::int32_t value) { Height = value; }
void TPcbText::SetLineWidth(std::int32_t value) { Width = value; }
void TPcbText::SetTextOption(std::int32_t value) { TextOption = value; }
void TPcbText::SetMirrored(bool value) { Mirrored = value ? 1 : 0; }
void TPcbText::SetText(std::string_view value) { Text = value; }

}  // namespace orvik
