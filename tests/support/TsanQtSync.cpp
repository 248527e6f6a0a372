// ThreadSanitizer builds only: makes the synchronisation that Qt carries out
// inside its own (uninstrumented) library visible to the sanitizer, so that
// what is left to report is a race in the code under test.
//
// - QMutex (and QRecursiveMutex, which is one): the lock and unlock calls our
//   code makes are wrapped with an acquire / release on the mutex.
// - Posted events and queued calls: what a thread did before it emitted a
//   signal, posted an event or queued a call is released to one sync object,
//   which every thread acquires before it handles an event. This is coarser
//   than Qt's own ordering (one event queue instead of one per thread), never
//   finer, and gives no edge to a thread that handles no events (a polling
//   loop stays unordered against every other thread).
// - A function handed to a thread pool acquires when it starts and releases
//   when it ends.
// - Queued arguments of a registered type are copied inside the emit; each
//   copy is released as it is made, before the event that carries it is
//   posted.
//
// The wrappers take the place of Qt's own entry points in the test program
// (a definition in the executable comes first) and call them through dlsym.

#include <QByteArray>
#include <QCoreApplication>
#include <QMetaObject>
#include <QMetaType>
#include <QMutex>
#include <QThread>
#include <QThreadPool>

#include <dlfcn.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <utility>

extern "C" {
void __tsan_acquire(void* addr);
void __tsan_release(void* addr);
}

namespace {

char queueSync;

template <typename Fn>
Fn real(const char* name)
{
    void* fn = dlsym(RTLD_NEXT, name);
    if (!fn) {
        std::fprintf(stderr, "TsanQtSync: %s not found\n", name);
        std::abort();
    }
    return reinterpret_cast<Fn>(fn);
}

bool acquireBeforeEvent(void**)
{
    __tsan_acquire(&queueSync);
    return false;   // the event goes on to its receiver
}

// A registered type's copy constructor, followed by a release.
constexpr size_t kTypeSlots = 64;
std::array<std::atomic<QMetaType::Constructor>, kTypeSlots> constructors{};
std::atomic<size_t> usedTypeSlots{0};

template <size_t I>
void* constructAndRelease(void* where, const void* copy)
{
    void* made = constructors[I].load()(where, copy);
    __tsan_release(&queueSync);
    return made;
}

template <size_t... I>
constexpr std::array<QMetaType::Constructor, kTypeSlots> makeTrampolines(std::index_sequence<I...>)
{
    return {&constructAndRelease<I>...};
}
constexpr auto trampolines = makeTrampolines(std::make_index_sequence<kTypeSlots>());

} // namespace

void zorTsanQtSyncInstall()
{
    QInternal::registerCallback(QInternal::EventNotifyCallback, &acquireBeforeEvent);
}

void QMutex::lock() QT_MUTEX_LOCK_NOEXCEPT
{
    static const auto fn = real<void (*)(QMutex*)>("_ZN6QMutex4lockEv");
    fn(this);
    __tsan_acquire(this);
}

bool QMutex::tryLock(int timeout) QT_MUTEX_LOCK_NOEXCEPT
{
    static const auto fn = real<bool (*)(QMutex*, int)>("_ZN6QMutex7tryLockEi");
    const bool locked = fn(this, timeout);
    if (locked)
        __tsan_acquire(this);
    return locked;
}

void QMutex::unlock() noexcept
{
    static const auto fn = real<void (*)(QMutex*)>("_ZN6QMutex6unlockEv");
    __tsan_release(this);
    fn(this);
}

void QMetaObject::activate(QObject* sender, const QMetaObject* m, int index, void** argv)
{
    static const auto fn = real<void (*)(QObject*, const QMetaObject*, int, void**)>(
        "_ZN11QMetaObject8activateEP7QObjectPKS_iPPv");
    __tsan_release(&queueSync);
    fn(sender, m, index, argv);
}

bool QMetaObject::invokeMethodImpl(QObject* object, QtPrivate::QSlotObjectBase* slot, Qt::ConnectionType type,
                                   void* ret)
{
    static const auto fn = real<bool (*)(QObject*, QtPrivate::QSlotObjectBase*, Qt::ConnectionType, void*)>(
        "_ZN11QMetaObject16invokeMethodImplEP7QObjectPN9QtPrivate15QSlotObjectBaseEN2Qt14ConnectionTypeEPv");
    if (type == Qt::DirectConnection || !object)
        return fn(object, slot, type, ret);

    // The call is wrapped: what it does is released after it, and acquired
    // by whichever thread destroys it last (Qt counts the references inside
    // itself). A blocking call is queued, and the caller waits until it has
    // run (instead of on Qt's own semaphore).
    struct Owner
    {
        QtPrivate::QSlotObjectBase* slot = nullptr;
        ~Owner()
        {
            __tsan_acquire(&queueSync);
            slot->destroyIfLastRef();
        }
    };
    struct Done
    {
        std::mutex mutex;
        std::condition_variable changed;
        bool ran = false;
    };
    const bool blocking = type == Qt::BlockingQueuedConnection && object->thread() != QThread::currentThread();
    auto owner = std::make_shared<Owner>();
    owner->slot = slot;
    auto done = blocking ? std::make_shared<Done>() : nullptr;
    auto call = [object, owner, ret, done] {
        void* args[] = {ret};
        owner->slot->call(object, args);
        if (done) {
            std::lock_guard<std::mutex> lock(done->mutex);
            done->ran = true;
            done->changed.notify_all();
        }
        __tsan_release(&queueSync);
    };
    auto* queued = new QtPrivate::QFunctorSlotObjectWithNoArgs<decltype(call), void>(std::move(call));
    owner.reset();
    __tsan_release(&queueSync);
    if (!blocking)
        return fn(object, queued, type, ret);
    const bool posted = fn(object, queued, Qt::QueuedConnection, nullptr);
    if (posted) {
        std::unique_lock<std::mutex> lock(done->mutex);
        done->changed.wait(lock, [&] { return done->ran; });
    }
    return posted;
}

void QCoreApplication::postEvent(QObject* receiver, QEvent* event, int priority)
{
    static const auto fn =
        real<void (*)(QObject*, QEvent*, int)>("_ZN16QCoreApplication9postEventEP7QObjectP6QEventi");
    __tsan_release(&queueSync);
    fn(receiver, event, priority);
}

int QMetaType::registerNormalizedType(const ::QByteArray& name, Destructor destructor, Constructor constructor, int size,
                                      QMetaType::TypeFlags flags, const QMetaObject* metaObject)
{
    static const auto fn = real<int (*)(const ::QByteArray&, Destructor, Constructor, int, QMetaType::TypeFlags,
                                        const QMetaObject*)>(
        "_ZN9QMetaType22registerNormalizedTypeERK10QByteArrayPFvPvEPFS3_S3_PKvEi6QFlagsINS_8TypeFlagEEPK11QMetaObject");
    if (constructor && QMetaType::type(name) == QMetaType::UnknownType) {
        const size_t slot = usedTypeSlots.fetch_add(1);
        if (slot < kTypeSlots) {
            constructors[slot].store(constructor);
            constructor = trampolines[slot];
        }
    }
    return fn(name, destructor, constructor, size, flags, metaObject);
}

void QThreadPool::start(std::function<void()> function, int priority)
{
    static const auto fn =
        real<void (*)(QThreadPool*, std::function<void()>, int)>("_ZN11QThreadPool5startESt8functionIFvvEEi");
    std::function<void()> run = [function = std::move(function)] {
        __tsan_acquire(&queueSync);
        function();
        __tsan_release(&queueSync);
    };
    __tsan_release(&queueSync);
    fn(this, std::move(run), priority);
}
