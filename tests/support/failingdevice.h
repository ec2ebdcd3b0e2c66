// A write-only device that takes a given number of bytes and then fails
// every write, as a full disk does: for deterministic write failures.
#pragma once

#include <QByteArray>
#include <QIODevice>

class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 capacity) : capacity_(capacity) { open(QIODevice::WriteOnly); }

    QByteArray written;
    int failedWrites = 0;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const qint64 room = capacity_ - written.size();
        if (room <= 0) {
            ++failedWrites;
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 n = std::min(room, size);
        written.append(data, n);
        return n;
    }

private:
    qint64 capacity_;
};
