#pragma once
// Test doubles of the operating-system services: deterministic, recording, never blocking.
#include "platform/DeviceEnumerator.h"
#include "platform/DeviceOpener.h"
#include "platform/FileSource.h"
#include "platform/LocalClock.h"
#include "platform/Profile.h"
#include "platform/Ticks.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace brimwell::fake {

// A tick count that moves only when the code sleeps (or when a test advances it).
class FakeTicks : public ITickSource {
public:
    explicit FakeTicks(std::uint32_t start = 1000) : now(start) {}
    std::uint32_t GetTickCount() override { return now; }
    void Sleep(std::uint32_t ms) override {
        sleeps.push_back(ms);
        now += ms;
    }
    std::uint32_t now;
    std::vector<std::uint32_t> sleeps;
};

class FixedClock : public ILocalClock {
public:
    explicit FixedClock(LocalDateTime t = {}) : time(t) {}
    LocalDateTime Now() override {
        ++reads;
        return time;
    }
    LocalDateTime time;
    int reads = 0;
};

class MemoryProfile : public IProfile {
public:
    int GetInt(const std::string& section, const std::string& entry, int defaultValue) override {
        ++readCount;
        auto it = values.find(section + "/" + entry);
        return it == values.end() ? defaultValue : it->second;
    }
    bool WriteInt(const std::string& section, const std::string& entry, int value) override {
        writes.emplace_back(section + "/" + entry, value);
        if (readOnly) {
            return false;
        }
        values[section + "/" + entry] = value;
        return true;
    }
    bool readOnly = false; // a store the user may not write: every write fails
    std::map<std::string, int> values;
    std::vector<std::pair<std::string, int>> writes;
    int readCount = 0;
};

// Devices by path. Each write request is recorded whole; a device can refuse to open (for
// a reason), fail its write, take fewer bytes than asked or fail its commit.
class FakeDeviceOpener : public IDeviceOpener {
public:
    struct Device {
        bool opens = true;
        DeviceOpenError openError = DeviceOpenError::Other; // why it refuses to open
        bool writeFails = false;
        bool commitFails = false;
        std::string reason; // the system's words for a failed open, write or commit
        int commits = 0;
        std::optional<std::uint32_t> shortWrite; // bytes taken per write when set
        std::vector<std::string> writes;         // one entry per write request
        int openCount = 0;
        int closeCount = 0;
        std::function<void()> duringWrite; // runs inside each write (a device that is slow)
    };

    std::unique_ptr<IDeviceHandle> OpenForWrite(const std::string& path) override {
        openedPaths.push_back(path);
        lastOpenError = DeviceOpenError::Other;
        lastOpenReason.clear();
        auto it = devices.find(path);
        if (it == devices.end() || !it->second.opens) {
            if (it != devices.end()) {
                lastOpenError = it->second.openError;
                lastOpenReason = it->second.reason;
            }
            return nullptr;
        }
        ++it->second.openCount;
        lastOpenError = DeviceOpenError::None;
        return std::make_unique<Handle>(it->second);
    }
    DeviceOpenError LastOpenError() const override { return lastOpenError; }
    std::string LastOpenReason() const override { return lastOpenReason; }

    Device& Add(const std::string& path) { return devices[path]; }

    std::map<std::string, Device> devices;
    std::vector<std::string> openedPaths;
    DeviceOpenError lastOpenError = DeviceOpenError::None;
    std::string lastOpenReason;

private:
    class Handle : public IDeviceHandle {
    public:
        explicit Handle(Device& d) : m_d(d) {}
        ~Handle() override { ++m_d.closeCount; }
        bool Write(const std::uint8_t* data, std::uint32_t length,
                   std::uint32_t* written) override {
            if (m_d.duringWrite) {
                m_d.duringWrite();
            }
            m_stopped = m_control && m_control->StopRequested();
            if (m_d.writeFails || m_stopped) {
                *written = 0;
                return false;
            }
            const std::uint32_t n = m_d.shortWrite ? std::min(*m_d.shortWrite, length) : length;
            m_d.writes.emplace_back(reinterpret_cast<const char*>(data), n);
            *written = n;
            return true;
        }
        bool Commit() override {
            ++m_d.commits;
            return !m_d.commitFails;
        }
        std::string FailureReason() const override { return m_d.reason; }
        // A stop requested before or while the job is written ends it.
        void SetControl(JobControl* control) override { m_control = control; }
        bool StoppedByRequest() const override { return m_stopped; }

    private:
        Device& m_d;
        JobControl* m_control = nullptr;
        bool m_stopped = false;
    };
};

class FakeEnumerator : public IDeviceEnumerator {
public:
    bool Enumerate(std::vector<RawDeviceInterface>& out) override {
        ++calls;
        out.clear();
        if (refuse) {
            return false;
        }
        out = devices;
        return true;
    }
    // A device on USB port 1-1 with the given vendor and product.
    static RawDeviceInterface Usb(const std::string& path, std::uint16_t vendor,
                                  std::uint16_t product) {
        return RawDeviceInterface{path, std::string("1-1"), UsbId{vendor, product}};
    }
    std::vector<RawDeviceInterface> devices;
    bool refuse = false;
    int calls = 0;
};

class FakeMonitor : public IDeviceMonitor {
public:
    void SetChangeHandler(std::function<void()> handler) override {
        m_handler = std::move(handler);
    }
    void Plug() { Fire(); }
    void Unplug() { Fire(); }
    void Fire() {
        if (m_handler) {
            m_handler();
        }
    }

private:
    std::function<void()> m_handler;
};

// Files in memory, with the failures a real file system can produce.
class MemoryFileSource : public IFileSource {
public:
    struct File {
        std::vector<std::uint8_t> bytes;
        bool sizeFails = false;
        bool readFails = false;
        std::optional<std::uint32_t> shortRead;
        std::optional<std::uint64_t> claimedSize; // what QuerySize reports
    };
    std::unique_ptr<IReadableFile> OpenForRead(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end()) {
            return nullptr;
        }
        ++opened;
        return std::make_unique<Handle>(it->second, closed);
    }
    bool IsRegularFile(const std::string& path) override { return files.count(path) != 0; }
    File& Add(const std::string& path, std::vector<std::uint8_t> bytes) {
        files[path].bytes = std::move(bytes);
        return files[path];
    }
    std::map<std::string, File> files;
    int opened = 0;
    int closed = 0;

private:
    class Handle : public IReadableFile {
    public:
        Handle(File& f, int& closed) : m_f(f), m_closed(closed) {}
        ~Handle() override { ++m_closed; }
        bool QuerySize(std::uint64_t* size) override {
            *size = m_f.claimedSize.value_or(m_f.bytes.size());
            return !m_f.sizeFails;
        }
        bool Read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t* read) override {
            if (m_f.readFails) {
                *read = 0;
                return false;
            }
            std::uint32_t n =
                std::min<std::uint32_t>(length, static_cast<std::uint32_t>(m_f.bytes.size()));
            if (m_f.shortRead) {
                n = std::min(n, *m_f.shortRead);
            }
            std::copy(m_f.bytes.begin(), m_f.bytes.begin() + n, buffer);
            *read = n;
            return true;
        }

    private:
        File& m_f;
        int& m_closed;
    };
};

} // namespace brimwell::fake
