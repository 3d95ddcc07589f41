// Writes a few lists like the ones the game declares into the folder given as the argument, as
// the fuzzer's starting corpus.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/AllPropertiesTarget.h"
#include "fuzz/SeedFiles.h"
#include "fw/properties/PropertyList.h"
#include "tests/support/MainWindowList.h"

namespace {

using fw::PropertyEntry;

constexpr int64_t kNoControlSet = -2147483648LL;

std::string Utf8(const char8_t* text) {
    return std::string(reinterpret_cast<const char*>(text));
}

std::vector<PropertyEntry> TimerList() {
    return {{"Mode", int64_t{2}}, {"Period", int64_t{1000}}};
}

using karuta_test::MainWindowList;

std::vector<PropertyEntry> LabelList() {
    return {
        {"TabStop", true},
        {"Name", std::string("StaticText1")},
        {"Index", kNoControlSet},
        {"Left", int64_t{108}},
        {"Top", int64_t{11}},
        {"Width", int64_t{30}},
        {"Height", int64_t{21}},
        {"LockLeft", true},
        {"LockTop", true},
        {"LockRight", false},
        {"LockBottom", false},
        {"TabPanelIndex", int64_t{0}},
        {"TabIndex", int64_t{2}},
        {"Text", Utf8(u8"お題")},
        {"TextAlign", int64_t{0}},
        {"TextColor", fw::RGB(0, 0, 0)},
        {"Multiline", false},
        {"Enabled", true},
        {"Visible", true},
        {"Selectable", false},
        {"Transparent", false},
        {"HelpTag", std::string()},
        {"AutoDeactivate", true},
        {"TextFont", Utf8(u8"MS 明朝")},
        {"TextSize", 12.0f},
        {"TextUnit", fw::FontUnit{0}},
        {"Bold", false},
        {"Italic", false},
        {"Underline", false},
        {"DataSource", std::string()},
        {"DataField", std::string()},
        {"InitialParent", std::string()},
    };
}

// The only class with Double properties, and a font name ending in a carriage return.
std::vector<PropertyEntry> TextAreaList() {
    return {
        {"Name", std::string("OdaiField")},
        {"Index", kNoControlSet},
        {"Left", int64_t{140}},
        {"Top", int64_t{11}},
        {"Width", int64_t{300}},
        {"Height", int64_t{22}},
        {"Multiline", true},
        {"ScrollbarVertical", false},
        {"TextColor", fw::RGB(0, 0, 0)},
        {"BackColor", fw::RGB(255, 255, 255)},
        {"LineHeight", 0.0},
        {"LineSpacing", 1.0},
        {"TextFont", Utf8(u8"平成明朝\r")},
        {"TextSize", 12.0f},
        {"TextUnit", fw::FontUnit{0}},
        {"Text", std::string()},
        {"InitialParent", std::string()},
    };
}

bool WriteSeed(const std::string& folder, const char* name,
               const std::vector<PropertyEntry>& entries) {
    const std::string list = fw::WritePropertyList(entries);
    AllPropertiesTarget check;
    fw::RuntimeMassPropertySetter(check, list);  // a seed the reader rejects would be useless
    return WriteSeedFile(folder, name, list);
}

bool WriteSeeds(const std::string& folder) {
    return WriteSeed(folder, "timer", TimerList()) &&
           WriteSeed(folder, "main_window", MainWindowList()) &&
           WriteSeed(folder, "label", LabelList()) &&
           WriteSeed(folder, "text_area", TextAreaList());
}

}  // namespace

int main(int argc, char** argv) {
    return SeedWriterMain(argc, argv, WriteSeeds);
}
