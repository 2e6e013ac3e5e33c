// One CANopen node that answers SDO requests from a small object dictionary.
#pragma once

#include "CanMessage.h"
#include "DriveObjects.h"

#include <map>
#include <optional>
#include <utility>

namespace fakeports
{

class CanOpenNode : public CanPeer
{
public:
    using Entry = std::pair<std::uint16_t, std::uint8_t>; // index, subindex

    // Starts with the device type (0x1000) and a device name (0x1008) long enough for segments;
    // 0x2000..0x2003 are a simulated drive's objects.
    explicit CanOpenNode(std::uint8_t node);

    // Requests to 0x600 + node are answered on 0x580 + node; other messages find nobody.
    std::vector<CanMessage> Answer(const CanMessage& sent) override;

private:
    // None when the client aborts.
    std::optional<CanMessage> Respond(const CanMessage& request);
    CanMessage InitiateDownload(const CanMessage& request, Entry entry);
    CanMessage DownloadSegment(const CanMessage& request);
    CanMessage InitiateUpload(Entry entry);
    CanMessage UploadSegment(const CanMessage& request);
    // 0 or the abort code.
    std::uint32_t Load(Entry entry, std::vector<std::uint8_t>& bytes);
    std::uint32_t Store(Entry entry, const std::vector<std::uint8_t>& bytes);
    CanMessage Reply(std::uint8_t command, Entry entry) const;
    CanMessage Abort(Entry entry, std::uint32_t code);

    // A segmented transfer in progress.
    struct Transfer
    {
        bool active = false;
        bool download = false;
        Entry entry{};
        std::uint8_t toggle = 0;
        std::size_t position = 0;
        std::uint32_t announced = 0;
        std::vector<std::uint8_t> bytes;
    };

    std::uint8_t m_node;
    std::map<Entry, std::vector<std::uint8_t>> m_dictionary;
    DriveObjects m_drive;
    Transfer m_transfer;
};

} // namespace fakeports
