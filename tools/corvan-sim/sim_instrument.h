#pragma once
// What the simulated instrument holds and sends: its series table, its
// records and the blocks of the download, built the way the instrument lays
// them out. Kept apart from the pseudo-terminal and socket plumbing.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace corvan::sim {

struct SimSeries {
    int first = 0;
    int year = 24;
    int month = 5;
    int day = 1;
    int hour = 12;
    int minute = 0;
    int intervalMinutes = 10;
};

struct SimConfig {
    int instrumentType = 0;
    int count = 100;
    std::vector<SimSeries> series{SimSeries{}};
    int sensorKind = 1;
    // The six BCD-float bytes of the coefficient of the sensor kind.
    std::vector<std::uint8_t> coefficient{0x10, 0x00, 0x00, 0x00, 0x00, 0x01};
    int referenceNumber = 1234;
    // -1: the number of series given.
    int seriesCountByte = -1;
    // Header bytes set last, by offset, to send values out of range.
    std::map<int, std::uint8_t> headerPokes;
};

// Raw record values, a fixed function of the record index so a test can
// compute what the program must have decoded.
int RawSpeed(int i);        // 12 bits
int RawDirection(int i);    // 10 bits
int RawTemperature(int i);  // 10 bits
int RawLatitude(int i);     // 16 bits, 0x7FFF every tenth record
int RawLongitude(int i);    // 16 bits
int RawTemperature16(int i);

std::uint8_t Bcd(int value);
// "0@2405011200/10,500@2405051200/10": first record, yymmddhhmm, minutes.
bool ParseSeriesList(const std::string& text, std::vector<SimSeries>& out);
bool ParseHexBytes(const std::string& text, std::vector<std::uint8_t>& out);

// Payload of the count block: N high byte first.
std::vector<std::uint8_t> CountPayload(const SimConfig& c);
std::vector<std::uint8_t> HeaderPayload(const SimConfig& c);
// Number of data blocks: records per block by type; types the program
// cannot read get one block, and so does an empty download.
int DataBlockCount(const SimConfig& c);
std::vector<std::uint8_t> DataPayload(const SimConfig& c, int block);

// The byte that makes the 8-bit sum of payload and checksum 0.
std::uint8_t Checksum(const std::vector<std::uint8_t>& payload);

// The instrument's answer to a terminal command line.
std::string TerminalAnswer(const SimConfig& c, const std::string& command);

}  // namespace corvan::sim
