#pragma once

// Device models for the simulated device: each answers the hello with the
// state burst and preset streams of one real kind of device, in the order
// such a device sends them, and sends keep-alives when ticked. A model can
// stop part-way through its burst so a test can unplug it at any stage.

#include "simhid.h"

#include <cstddef>
#include <limits>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

// Word builders, least significant byte first as the devices send them.
std::vector<int32_t> nameWords(const std::string& utf8); // four words, zero-padded
int32_t bandWord(uint8_t status, int8_t type, int8_t gain);
constexpr int32_t kUnityPreamp = 33554432;
constexpr int32_t kNoPreampWord = 0x016A77E5;

struct Band
{
    uint8_t status = 1;
    int8_t type = 1;
    int8_t gain = 0;
    int32_t frequency = 632;
    int32_t q = 7070;
};
constexpr Band kOffBand { 0x00, 1, 0, 632, 7070 }; // (256, 632, 7070)

// 39 words: name, preamp status and word, band 1, then ten off bands.
std::vector<int32_t> oneSetRecord(
    const std::string& name, int32_t preampStatus, int32_t preampWord, const Band* band1);
// 78 words: name, both preamps, left bands, right bands, four unread words.
std::vector<int32_t> leftRightRecord(const std::string& name, int32_t leftStatus, int32_t leftWord,
    int32_t rightStatus, int32_t rightWord, const Band& leftBand1, const Band& rightBand1);

// One frame per word, total = word count, current = word index.
std::vector<Report> wordStream(uint32_t command, const std::vector<int32_t>& words);

// Streams as the device sends them.
std::vector<Report> oneSetStream(const std::vector<int32_t>& words201);
std::vector<Report> leftRightStream(const std::vector<std::vector<int32_t>>& records);
std::vector<Report> factoryStream(const std::vector<int32_t>& words199);

// The words of the models' streams.
std::vector<int32_t> modelAUserWords(); // 201 words: "Rock", "Pop", three empty, count 2
std::vector<int32_t> liveRecord(); // 78 words
std::vector<int32_t> vocalRecord(); // 78 words
std::vector<int32_t> factoryWords(); // 199 words: "Bass 1" ... "Dynamic"

class ScriptedModel : public Model
{
public:
    explicit ScriptedModel(std::vector<Report> burst)
        : m_burst(std::move(burst))
    {
    }

    // Queue at most this many reports of the burst per connection (the
    // hello answer is report 0). Default: all of them.
    void setStopAfter(size_t reports);
    // Keep-alive: queues 0x9D01 dn, n counting from 0; returns n.
    int32_t tick(Engine& engine);

    const std::vector<Report>& burst() const { return m_burst; }
    int hellos() const;

    void onOpen(Engine&) override;
    void onWrite(Engine& engine, const Frame& frame) override;

protected:
    // Replaces the burst of the following connections.
    void setBurst(std::vector<Report> burst);

private:
    mutable std::mutex m_mutex;
    std::vector<Report> m_burst;
    size_t m_stopAfter = std::numeric_limits<size_t>::max();
    int32_t m_keepAlive = 0;
    int m_hellos = 0;
    bool m_answered = false; // this connection's burst is out
};

constexpr uint32_t kModelAIdentity = 0x51567370; // "Mirel 9", one set
constexpr uint32_t kModelBIdentity = 0x51563350; // "Vantor 9", left/right, factory presets
constexpr uint32_t kModelCIdentity = 0x51562340; // "Vantor 3", announces from its streams
constexpr uint32_t kUnknownIdentity = 0x51569990;

// Optional trailing frames: B's second 0x1204, C's second identity and hello.
std::vector<Report> modelABurst();
std::vector<Report> modelBBurst(bool eqStateAgain = false);
std::vector<Report> modelCBurst(bool identityAgain = false, bool helloAgain = false);
std::vector<Report> unknownBurst();

// By name: "A", "B", "C" (slot models that reproduce the bursts above on
// their first connection), "unknown", and the workspace's slot models
// "mirel1", "five" and "ten"; null for anything else.
std::shared_ptr<ScriptedModel> makeModel(const std::string& name);

} // namespace sim
