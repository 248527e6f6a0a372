#pragma once

// A simulated serial device on a pseudo-terminal. The device holds the master
// side; the product opens slavePath() as if it were the real port, so its own
// termios, baud and framing code runs. The device talks at its own baud rate
// only: the product's speed is read from the terminal settings, and while it
// differs every byte in either direction is garbled (as a UART sampling at
// the wrong rate would see it) instead of being delivered.
//
// Not modelled: line timing (bytes arrive as fast as the pty carries them),
// parity and stop bits. A device writes whole sentences or frames at once;
// bytes the product's side cannot take are dropped, as on a real line.
//
// A derived device implements received(), nextDue() and tick(), which run on
// the device's own thread, and must call stop() in its destructor. The thread
// sleeps until the product writes, the next due time comes or wake() is
// called: a setter that moves the due time calls wake().
//
// Without line timing, a product wait that would cover a transmission on a
// real line may end before the device has taken the bytes (and a flush of
// the product's output queue would then drop them). A test harness can call
// settleAll() before each product wait and time-out check so that product
// time only passes once every device has caught up.

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>

namespace zorsim {

class SimSerialDevice
{
public:
    using Clock = std::chrono::steady_clock;

    explicit SimSerialDevice(int baud);
    virtual ~SimSerialDevice();

    SimSerialDevice(const SimSerialDevice&) = delete;
    SimSerialDevice& operator=(const SimSerialDevice&) = delete;

    bool isOpen() const { return master >= 0; }
    QString slavePath() const { return path; }

    // The device's own speed (baud); the product must use the same.
    int baud() const { return ownBaud; }
    void setBaud(int baud) { ownBaud = baud; }
    // The speed the product set on its side of the line; 0 when unknown.
    int productBaud() const;
    bool speedsMatch() const { return productBaud() == ownBaud; }

    void start();
    void stop();
    bool isRunning() const { return thread.joinable(); }

    // Back door: puts bytes on the line as the device would send them
    // (garbled like everything else while the speeds differ).
    void sendRaw(const QByteArray& bytes);

    // Everything heard at the right speed, and the count of garbled bytes.
    QByteArray bytesHeard() const;
    uint64_t garbledBytesHeard() const { return garbled; }
    // Times the device's thread woke up so far.
    uint64_t wakeUps() const { return wakes; }

    // True once the device has taken and handled every byte the product
    // wrote so far and has no answer due; a stopped device is settled.
    bool settled() const;
    // True once the product has read every byte the device sent.
    bool productHasReadAll() const;
    // Waits until every running device is settled, at most deadlineMs;
    // false when the deadline passed first.
    static bool settleAll(int deadlineMs);

    static int baudOf(unsigned speed);      // termios speed_t -> baud, 0 when unknown
    static unsigned speedOf(int baud);      // baud -> termios speed_t, 0 when unknown

protected:
    // Bytes heard at the right speed, in order.
    virtual void received(const QByteArray& bytes) = 0;
    // The line carried noise: any frame in progress is broken.
    virtual void lineNoise() {}
    // When tick() has something to do next (Clock::time_point::max(): nothing
    // until the product writes or wake() is called).
    virtual Clock::time_point nextDue() const { return Clock::time_point::max(); }
    // Does what is due at now; called at nextDue() and after every wake-up.
    virtual void tick(Clock::time_point now) = 0;
    // An answer is still to be sent (called with stateMutex held).
    virtual bool answerDue() const { return false; }

    // Puts bytes on the line (garbled while the speeds differ).
    void transmit(const QByteArray& bytes);
    // The device's thread looks at nextDue() again (any thread).
    void wake();

    // Guards the derived device's state (taken around received() and tick()).
    mutable std::recursive_mutex stateMutex;

private:
    void run();
    QByteArray garble(const QByteArray& bytes);

    int master = -1;
    int slaveHold = -1;   // keeps the line up while the product has it closed
    int wakeFd = -1;      // eventfd: stop() and wake() interrupt the thread's wait
    QString path;
    std::atomic<int> ownBaud;
    std::atomic<bool> stopping{false};
    std::atomic<bool> reading{false};   // the thread takes the product's bytes
    std::atomic<uint64_t> garbled{0};
    std::atomic<uint64_t> wakes{0};
    std::thread thread;
    mutable std::mutex rxMutex;   // held from reading the product's bytes until they are handled
    std::mutex lineMutex;   // one writer at a time: frames never mix
    uint32_t noiseSeed = 0x2545F491u;
    mutable std::mutex heardMutex;
    QByteArray heard;
};

} // namespace zorsim
