#include "CommNetCtrlBase.h"

#include "BaseUtilityHelper.h"
#include "NetServiceBase.h"
#include "ControllerCenter.h"
#include "ControllerTestor.h"
#include "ModelCalibrationEntity.h"
#include "zocmm_testing_confer_handle.h"
#include "zocmn_net_connect_handle.h"
#include "zocmn_net_file_transfer.h"
#include "zocmn_net_reject_log.h"
#include "zoplatform.h"
#include "zoplatform_datapaths.h"
#include "zoshc_testing_machine_file.h"
#include "zoshm_testing_share_handle.h"

#include <QMutex>
#include <QMutexLocker>
#include <QTimer>

#include <atomic>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// ---- Stand-ins' record ----------------------------------------------------------
QMutex recordMutex;
QStringList& recorded()
{
    static QStringList calls;
    return calls;
}

int record(const QString& line)
{
    QMutexLocker lock(&recordMutex);
    recorded().append(line);
    return 0;
}

// ---- Publication with retry ----------------------------------------------------------
// Pending writes per segment, keyed by the part of the segment they write
// (a newer write of a part replaces the older one; the status words are
// separate parts, so a pending input word is not lost to an output word).
enum Part { PART_BI, PART_BO, PART_RUNNING, PART_RECORD };
constexpr int kRetryMs = 5;

class Publisher
{
public:
    using Write = std::function<void(void* segment)>;

    Publisher()
    {
        timer.setSingleShot(true);
        timer.setInterval(kRetryMs);
        QObject::connect(&timer, &QTimer::timeout, [this] { retry(); });
    }

    void publish(int segment, Part part, Write write)
    {
        auto& parts = pending[segment];
        bool replaced = false;
        for (auto& p : parts) {
            if (p.first == part) {
                p.second = std::move(write);
                replaced = true;
            }
        }
        if (!replaced)
            parts.emplace_back(part, std::move(write));
        if (!tryWrite(segment))
            timer.start();
    }

private:
    bool tryWrite(int segment)
    {
        auto it = pending.find(segment);
        if (it == pending.end())
            return true;
        if (!shm_testing_header(segment)) {   // not attached: nothing to publish into
            pending.erase(it);
            return true;
        }
        ShmAccess access(ShmSide::Client, segment, SHM_LOCK_TRIES);
        if (!access.held())
            return false;
        void* base = shm_testing_header(segment);
        for (auto& p : it->second)
            p.second(base);
        pending.erase(it);
        return true;
    }

    void retry()
    {
        std::vector<int> segments;
        for (auto& p : pending)
            segments.push_back(p.first);
        bool left = false;
        for (int s : segments)
            left = !tryWrite(s) || left;
        if (left)
            timer.start();
    }

    std::map<int, std::vector<std::pair<Part, Write>>> pending;
    QTimer timer;
};

Publisher& publisher()
{
    static Publisher* p = new Publisher();   // GUI thread; lives with the process
    return *p;
}

void publishStatus(Part part, std::function<void(shm_testing_status_new&)> write)
{
    publisher().publish(SHM_SEGMENT_STATUS, part, [write](void* base) {
        auto* s = static_cast<shm_share_status*>(base);
        write(s->status);
        s->ctrl.server_changes = 1;
    });
}

void publishRecord(int segment, u32 dataType, const u8* bytes, u32 length)
{
    if (length > SHM_SHARE_RECORD_CAPACITY)
        return;
    std::vector<u8> copy(bytes, bytes + length);
    publisher().publish(segment, PART_RECORD, [dataType, copy](void* base) {
        auto* r = static_cast<shm_share_record*>(base);
        r->data_type = dataType;
        r->data_length = u32(copy.size());
        if (!copy.empty())
            std::memcpy(r->buffer, copy.data(), copy.size());
        r->ctrl.server_changes = 1;
    });
}

// ---- Trigger records ------------------------------------------------------------------------
// Trigger records wait here until the push side took the previous one (its
// change mark cleared), one per drain, so that trips reported close together
// all reach the PC. Bounded: when full the oldest is dropped. With no PC
// connected nobody takes them: only the latest waits, overwriting the segment.
constexpr size_t kTriggerQueueLimit = 64;

bool pcConnected()
{
    return net_connect_accepted_count() > net_connect_ended_count();
}

class TriggerQueue
{
public:
    TriggerQueue()
    {
        timer.setSingleShot(true);
        timer.setInterval(kRetryMs);
        QObject::connect(&timer, &QTimer::timeout, [this] { drain(); });
    }

    // GUI thread.
    void push(u32 dataType, std::vector<u8> bytes)
    {
        {
            QMutexLocker lock(&mutex);
            if (!pcConnected())
                queue.clear();
            if (queue.size() >= kTriggerQueueLimit) {
                qDebug("network service: trigger record of type 0x%X dropped, %d waiting", unsigned(queue.front().first),
                       int(queue.size()));
                queue.pop_front();
            }
            queue.emplace_back(dataType, std::move(bytes));
        }
        drain();
    }

    // Any thread (PREPARE on the receive thread, switch-off on the GUI thread).
    void clear()
    {
        QMutexLocker lock(&mutex);
        queue.clear();
        ++generation;
    }

private:
    void drain()
    {
        std::pair<u32, std::vector<u8>> head;
        quint64 taken;
        {
            QMutexLocker lock(&mutex);
            if (queue.empty())
                return;
            head = queue.front();
            taken = generation;
        }
        if (!shm_testing_header(SHM_SEGMENT_RESULT)) {   // not attached: nothing to publish into
            clear();
            return;
        }
        bool written = false;
        {
            ShmAccess access(ShmSide::Client, SHM_SEGMENT_RESULT, SHM_LOCK_TRIES);
            if (access.held()) {
                auto* r = static_cast<shm_share_record*>(static_cast<void*>(shm_testing_header(SHM_SEGMENT_RESULT)));
                if (r->ctrl.server_changes != 1 || !pcConnected()) {
                    r->data_type = head.first;
                    r->data_length = u32(head.second.size());
                    if (!head.second.empty())
                        std::memcpy(r->buffer, head.second.data(), head.second.size());
                    r->ctrl.server_changes = 1;
                    written = true;
                }
            }
        }
        bool more;
        {
            QMutexLocker lock(&mutex);
            if (written && taken == generation && !queue.empty())
                queue.pop_front();
            more = !queue.empty();
        }
        if (more)
            timer.start();
    }

    QMutex mutex;
    std::deque<std::pair<u32, std::vector<u8>>> queue;
    quint64 generation = 0;
    QTimer timer;
};

// Made by the first record (GUI thread, where its timer lives); lives with the process.
std::atomic<TriggerQueue*> triggerQueueInstance{nullptr};

TriggerQueue& triggerQueue()
{
    TriggerQueue* q = triggerQueueInstance.load();
    if (!q) {
        q = new TriggerQueue();
        triggerQueueInstance.store(q);
    }
    return *q;
}

// ---- The threads ------------------------------------------------------------------------
struct ServiceThreads
{
    std::thread receive, push, exporter, beacon, listener;
    bool running = false;

    void join()
    {
        for (std::thread* t : {&receive, &push, &exporter, &beacon, &listener}) {
            if (t->joinable())
                t->join();
        }
    }
    // Reached with the service on only when the process ends without its
    // stop (exit() called under the event loop, as Qt does when the display
    // goes away): the threads are stopped and joined, never left joinable.
    ~ServiceThreads()
    {
        net_connect_disable_handle();
        join();
    }
};
ServiceThreads& serviceThreads()
{
    static ServiceThreads threads;   // GUI thread only
    return threads;
}

// Creates a thread; false when it could not be.
bool create(std::thread& t, void* (*body)(void*))
{
    try {
        t = std::thread(body, nullptr);
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

// Whether the file transfer is live (the service runs); before, its calls
// are only recorded, as the other stand-ins'.
std::atomic<bool> fileTransferLive{false};

NetFileRoots fileRoots()
{
    return {zoplat::dataRootPath(), BaseUtilityHelper::getAppRootPath()};
}

// What the calibration readers say of a PC's import: one line a file,
// within the service's budget.
void calibrationWarning(const QString& line)
{
    net_log_line("%s", line.toLocal8Bit().constData());
}

bool checkStagedCalibration()
{
    ModelCalibrationEntity::WarningSink sink(calibrationWarning);
    return ModelCalibrationEntity::stagedFilesReadable();
}

// The engine's import of the staged files, done before the PC's answer: the
// PC's next transfer, which empties the staging folder, takes nothing away.
bool loadAllCalFile()
{
    record(QStringLiteral("LoadAllCalFile"));
    if (!NetServiceBase::existingInstance())
        return true;
    return ControllerCenter::getInstance()->testTestor->importCalWaited(7, NetServiceBase::ENGINE_WAIT_MS,
                                                                        calibrationWarning);
}

void connectionEnded()
{
    net_file_connection_ended();
    if (NetServiceBase* service = NetServiceBase::existingInstance())
        service->connectionEnded();
}

// The device's restart after a network write was asked for (listener
// thread): where the process lives on, the service starts again as the
// switch left it (on the device the restart ends the process meanwhile).
void rebooted()
{
    if (NetServiceBase* service = NetServiceBase::existingInstance())
        QMetaObject::invokeMethod(
            service,
            [service] {
                if (cmm_machine_reboot_flag().load())   // cleared by any start since
                    service->restartAfterReboot();
            },
            Qt::QueuedConnection);
}

void exportFiles(int mode)
{
    net_export_files(mode, fileRoots(), net_connect_send_export_frame);
}

int copyPath(const QString& path, char* buffer, int size)
{
    const QByteArray bytes = path.toUtf8();
    if (!buffer || size <= 0 || bytes.size() >= size)
        return -1;
    std::memcpy(buffer, bytes.constData(), size_t(bytes.size()) + 1);
    return 0;
}

} // namespace

int netCtrl_StartNetService(NetServiceStartFailure* failure)
{
    ServiceThreads& s = serviceThreads();
    if (s.running)
        return 0;
    if (failure)
        *failure = {};
    net_connect_set_end_handler(connectionEnded);
    net_connect_set_reboot_handler(rebooted);
    net_connect_set_export_handler(exportFiles);
    net_file_set_calibration_check(checkStagedCalibration);
    net_file_set_calibration_loader(loadAllCalFile);
    net_file_remove_leftovers(fileRoots());
    net_connect_init_handle();
    NetBindFailure bind{};
    if (net_connect_open_sockets(&bind) != 0) {
        net_connect_disable_handle();
        if (failure)
            *failure = {QStringLiteral("%1 %2").arg(QLatin1String(bind.protocol)).arg(bind.port),
                        QString::fromLocal8Bit(strerror(bind.error))};
        return -1;
    }
    const bool ok = create(s.receive, netconnect_start_tcpsocketn1) && create(s.push, netconnect_start_tcpsocketn2)
        && create(s.exporter, netconnect_export_filse) && create(s.beacon, netconnect_start_udpsocketx)
        && create(s.listener, netconnect_start_tcpsocketnx);
    if (!ok) {
        net_connect_disable_handle();
        s.join();
        net_connect_close_sockets();
        return -1;
    }
    fileTransferLive = true;
    s.running = true;
    return 0;
}

int netCtrl_StopNetService()
{
    ServiceThreads& s = serviceThreads();
    netCtrl_ClearSettingParameter();
    net_connect_disable_handle();
    s.join();
    fileTransferLive = false;
    net_file_connection_ended();
    s.running = false;
    return 0;
}

bool netCtrl_NetServiceRunning()
{
    return serviceThreads().running;
}

void netCtrl_ClearPushedRecords()
{
    if (TriggerQueue* q = triggerQueueInstance.load())
        q->clear();
    for (int segment : {SHM_SEGMENT_RESULT, SHM_SEGMENT_PROCEDURE}) {
        ShmAccess access(ShmSide::Client, segment);
        if (!access.held())
            continue;
        auto* r = static_cast<shm_share_record*>(static_cast<void*>(shm_testing_header(segment)));
        r->data_type = 0;
        r->data_length = 0;
        r->ctrl.server_changes = 0;
    }
}

bool netCtrl_checkSDCardExist()
{
    return zoplat::sdCardPresent();
}

QString netCtrl_getRootPathStr()
{
    return zoplat::dataRootPath();
}

int netCtrl_getRootPath(char* buffer, int size)
{
    return copyPath(zoplat::dataRootPath(), buffer, size);
}

int netCtrl_getCalCoeRootPath(char* buffer, int size)
{
    return copyPath(BaseUtilityHelper::getAppRootPath(), buffer, size);
}

int netCtrlInit()
{
    if (shm_init_testing_handle() != 0) {
        shm_init_testing_ipcrm();
        zoplat::sleepMs(100);
        if (shm_init_testing_handle() != 0)
            return -1;
    }
    shm_prepare_testing_handle();
    return shc_machine_init_handle();
}

int netCtrl_SetDeviceAssemblyInfoToNet(const NetDeviceAssemblyInfo& info)
{
    ShmAccess access(ShmSide::Client, SHM_SEGMENT_MACHINE);
    if (!access.held())
        return -1;
    shm_machine_assembly_info& a = global_shm_machine->mchset.assembly;
    std::memcpy(a.device_guid, info.device_guid, sizeof a.device_guid);
    std::memcpy(a.device_code, info.device_code, sizeof a.device_code);
    std::memcpy(a.device_kind, info.device_kind, sizeof a.device_kind);
    std::memcpy(a.device_date, info.device_date, sizeof a.device_date);
    std::memcpy(a.device_versions, info.device_version, sizeof a.device_versions);
    return 0;
}

int netCtrl_SetBOState(u32 mask, u32 states)
{
    if (NetServiceBase* service = NetServiceBase::existingInstance())
        return service->setBOState(mask, states) == 0 ? 0 : -1;
    return record(QStringLiteral("SetBOState %1 %2").arg(mask).arg(states));
}

int netCtrl_SetTestStart()
{
    if (NetServiceBase* service = NetServiceBase::existingInstance())
        return service->setTestStart();
    return record(QStringLiteral("SetTestStart"));
}

int netCtrl_SetTestStop()
{
    if (NetServiceBase* service = NetServiceBase::existingInstance()) {
        service->setTestStop();
        return 0;
    }
    return record(QStringLiteral("SetTestStop"));
}

int netCtrl_SetTestSwitch()
{
    if (NetServiceBase* service = NetServiceBase::existingInstance())
        return service->setTestSwitch();
    return record(QStringLiteral("SetTestSwitch"));
}

int netCtrl_SetManualTrigger()
{
    if (NetServiceBase* service = NetServiceBase::existingInstance()) {
        service->setManualTrigger();
        return 0;
    }
    return record(QStringLiteral("SetManualTrigger"));
}

int netCtrl_GetBIBOState()
{
    if (NetServiceBase* service = NetServiceBase::existingInstance()) {
        service->getBIBOState();
        return 0;
    }
    return record(QStringLiteral("GetBIBOState"));
}

int netCtrl_ClearSettingParameter()
{
    if (NetServiceBase* service = NetServiceBase::existingInstance()) {
        service->clearStateSequenceParemeter();
        return 0;
    }
    netCtrl_ClearPushedRecords();
    return record(QStringLiteral("ClearSettingParameter"));
}

int netCtrl_SetAlternatParameter(const u8* bytes, u32 length)
{
    if (NetServiceBase* service = NetServiceBase::existingInstance())
        return service->setAlternateParameter(bytes, length);
    return record(QStringLiteral("SetAlternatParameter %1").arg(length));
}

int netCtrl_SetStateSquenceParameter(const u8* bytes, u32 length)
{
    if (NetServiceBase* service = NetServiceBase::existingInstance())
        return service->setStateSequenceParameter(bytes, length);
    return record(QStringLiteral("SetStateSquenceParameter %1").arg(length));
}

int netCtrl_SetHarmonicParameter(const u8* bytes, u32 length)
{
    if (NetServiceBase* service = NetServiceBase::existingInstance())
        return service->setHarmonicParameter(bytes, length);
    return record(QStringLiteral("SetHarmonicParameter %1").arg(length));
}

int netCtrl_SetSimpleRampingParameter(const u8* bytes, u32 length)
{
    if (NetServiceBase* service = NetServiceBase::existingInstance())
        return service->setSimpleRampingParameter(bytes, length);
    return record(QStringLiteral("SetSimpleRampingParameter %1").arg(length));
}

int netCtrl_TransferFileCommand(u8 fileType)
{
    if (fileTransferLive.load())
        return net_file_command(fileType);
    net_connect_transfer_mode() = fileType;
    return record(QStringLiteral("TransferFileCommand %1").arg(fileType));
}

int netCtrl_TransferFileHead(const char* name, u32 fileSize)
{
    if (fileTransferLive.load())
        return net_file_head(name, fileSize, fileRoots());
    return record(QStringLiteral("TransferFileHead %1 %2").arg(QString::fromUtf8(name)).arg(fileSize));
}

int netCtrl_TransferFileData(const u8* data, u32 length)
{
    if (fileTransferLive.load())
        return net_file_data(data, length);
    return record(QStringLiteral("TransferFileData %1").arg(length));
}

QStringList netCtrl_recordedCalls()
{
    QMutexLocker lock(&recordMutex);
    return recorded();
}

void netCtrl_clearRecordedCalls()
{
    QMutexLocker lock(&recordMutex);
    recorded().clear();
}

void netCtrl_updateBIState(u32 word)
{
    publishStatus(PART_BI, [word](shm_testing_status_new& s) { s.resulted_input_binary_state = word; });
}

void netCtrl_updateBOState(u32 word)
{
    publishStatus(PART_BO, [word](shm_testing_status_new& s) { s.resulted_output_binary_state = word; });
}

void netCtrl_updateRunningEnable(u32 value)
{
    publishStatus(PART_RUNNING, [value](shm_testing_status_new& s) {
        s.resulted_running_enable = value & 0xFFu;
        s.resulted_stopping_enable = (value & 0xFFu) ^ 1u;
    });
}

void netCtrl_updateProcedure(u32 dataType, const u8* record, u32 length)
{
    publishRecord(SHM_SEGMENT_PROCEDURE, dataType, record, length);
}

void netCtrl_updateResult(u32 dataType, const u8* record, u32 length)
{
    if (length > SHM_SHARE_RECORD_CAPACITY)
        return;
    triggerQueue().push(dataType, std::vector<u8>(record, record + length));
}
