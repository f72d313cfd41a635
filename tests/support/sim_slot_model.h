#pragma once

// A device whose preset slots live in the model: it is made from its
// identity, firmware, EQ state code and records, streams its slot table at
// every connection in the order a real device does, and applies the slot
// frames the program writes (store, save, rename, delete, overwrite, slot
// switch, channel-mode mask, band frames), so the next connection lists
// what the program sent.

#include "sim_models.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// Band gains are kept in tenths of a dB, whatever unit a frame carried.
struct SlotBand
{
    uint8_t status = 0;
    int8_t type = 1;
    int gainTenths = 0;
    int32_t frequency = 632;
    int32_t q = 7070;
};

struct SlotChannel
{
    uint8_t preampStatus = 0;
    int32_t preampWord = kUnityPreamp;
    std::array<SlotBand, 11> bands {};
};

struct SlotRecord
{
    std::string name; // UTF-8, at most 16 bytes
    SlotChannel left;
    SlotChannel right; // left/right devices only
};

// A band as the stream bytes give it, read in `tenthsPerStep` (5 or 1).
SlotBand slotBand(const Band& b, int tenthsPerStep);
SlotRecord slotRecord(
    const std::string& name, uint8_t preampStatus, int32_t preampWord, const SlotBand& band1);

struct ModelSheet
{
    uint32_t identity = 0;
    int32_t hardware = 0x100;
    int32_t firmware = 0x150;
    int32_t eqCode = 1; // 0/1 one set; 128/129 left/right in 0.5 dB; 192/193 in 0.1 dB
    int32_t rate = 44100;
    int32_t autoMute = 0;
    int activeSlot = 0;
    std::optional<int32_t> mask; // 0x1112 after 0x1206 when set
    int capacity = 5; // user slots the device holds
    std::vector<SlotRecord> user;
    std::vector<SlotRecord> factory; // five read-only presets, or none
    bool listsAtIdentity = true; // sends 0x1203 again after its streams
    bool tenthsAfterListing = false; // takes band gains in 0.1 dB once listed
    std::vector<Report> trailer; // reports after everything else
};

class SlotModel : public ScriptedModel
{
public:
    explicit SlotModel(ModelSheet sheet);

    void onOpen(Engine& engine) override;
    void onWrite(Engine& engine, const Frame& frame) override;

    // The device's side, for the test to check.
    std::vector<SlotRecord> userSlots() const;
    int activeSlot() const;
    int32_t mask() const;
    bool leftRight() const;
    // Tenths of a dB per gain step of the frames the device takes now.
    int incomingTenthsPerStep() const;

    // The report burst of the next connection (built from the slot table).
    std::vector<Report> nextBurst() const;

private:
    std::vector<Report> burstLocked() const;
    void applyRecordFrame(const Frame& f);
    void applyBandFrame(const Frame& f);
    SlotRecord decodeRecord(const std::vector<int32_t>& words, int tenthsPerStep) const;

    mutable std::mutex m_tableMutex;
    ModelSheet m_sheet;
    std::vector<int32_t> m_words; // record words being received
    uint32_t m_recordCommand = 0;
    int m_pendingSlot = -1; // slot named by 0x110F / 0x110C
};

// Stream words of a record, gains in `tenthsPerStep` (one-set: 39, else 78).
std::vector<int32_t> encodeOneSet(const SlotRecord& r, int tenthsPerStep);
std::vector<int32_t> encodeLeftRight(const SlotRecord& r, int tenthsPerStep);

// The landed models as slot models, and the three of the workspace:
ModelSheet modelASheet(); // "Mirel 9", one set, two user slots, numbered
ModelSheet modelBSheet(); // "Vantor 9" fw 1.10, left/right 0.1 dB, factory presets, plain
ModelSheet modelCSheet(); // "Vantor 3", lists from its streams
// "Mirel 1", left/right 0.5 dB switched to 0.1 dB at the listing, three slots all used.
ModelSheet mirel1Sheet();
// "Vantor 5", one set, five user slots all used, factory presets, plain style.
ModelSheet fiveSlotSheet();
// "Vantor 9" fw 1.20, left/right 0.5 dB, numbered, up to ten slots (`used` listed).
ModelSheet tenSlotSheet(int used = 3);

} // namespace sim
