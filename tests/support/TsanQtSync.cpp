// ThreadSanitizer builds only: makes the synchronisation that Qt carries out
// inside its own (uninstrumented) library visible to the sanitizer, so that
// what is left to report is a race in the code under test.
//
// - QMutex (and QRecursiveMutex, which is one): the lock and unlock calls our
//   code makes are wrapped with an acquire / release on the mutex.
// - Signals: an emit releases on its sender object, and a queued call
//   acquires on the sender it carries before it is handled (a call by name,
//   which carries none, on its receiver). Queued copies of a registered
//   type's arguments are made inside the emit or call and are released as
//   they are made. This is coarser than Qt's own ordering only in that a
//   handled call also sees what its sender did up to a later emit.
// - Posted events, queued functions and functions handed to a thread pool:
//   released when handed over, acquired when they start (each on its own;
//   Qt 5.15's event layout gives the queued function).
//
// The wrappers take the place of Qt's own entry points in the test program
// (a definition in the executable comes first) and call them through dlsym.

#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
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
void __tsan_ignore_thread_begin();
void __tsan_ignore_thread_end();
}

namespace {

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

void* key(const void* p)
{
    return const_cast<void*>(p);
}

// The sender of the emit this thread is in.
thread_local const QObject* emitting = nullptr;

// Qt 5.15's queued call event (QMetaCallEvent, a private class): the event,
// the signal index, the sender, the semaphore of a blocking call, then the
// functor of a queued function call.
struct MetaCallEventView : QEvent
{
    int signalId;
    const QObject* sender;
    void* semaphore;
    const QtPrivate::QSlotObjectBase* slot;
};

bool acquireBeforeEvent(void** data)
{
    const QEvent* event = static_cast<const QEvent*>(data[1]);
    // Qt wrote the event: reading it is not ours to check.
    __tsan_ignore_thread_begin();
    const bool call = event->type() == QEvent::MetaCall;
    const MetaCallEventView* view = static_cast<const MetaCallEventView*>(event);
    const QObject* sender = call ? view->sender : nullptr;
    const QtPrivate::QSlotObjectBase* slot = call ? view->slot : nullptr;
    __tsan_ignore_thread_end();
    if (sender)
        __tsan_acquire(key(sender));
    if (slot)
        __tsan_acquire(key(slot));
    if (call)
        __tsan_acquire(data[0]);   // a call by name, released on its receiver
    __tsan_acquire(key(event));
    return false;   // the event goes on to its receiver
}

// A registered type's copy constructor, followed by a release on the sender
// when the copy is a queued argument.
constexpr size_t kTypeSlots = 64;
std::array<std::atomic<QMetaType::Constructor>, kTypeSlots> constructors{};
std::atomic<size_t> usedTypeSlots{0};

template <size_t I>
void* constructAndRelease(void* where, const void* copy)
{
    void* made = constructors[I].load()(where, copy);
    if (emitting)
        __tsan_release(key(emitting));
    return made;
}

template <size_t... I>
constexpr std::array<QMetaType::Constructor, kTypeSlots> makeTrampolines(std::index_sequence<I...>)
{
    return {&constructAndRelease<I>...};
}
constexpr auto trampolines = makeTrampolines(std::make_index_sequence<kTypeSlots>());

}   // namespace

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
    const QObject* outer = emitting;
    emitting = sender;
    __tsan_release(sender);
    fn(sender, m, index, argv);
    emitting = outer;
}

bool QMetaObject::invokeMethodImpl(QObject* object, QtPrivate::QSlotObjectBase* slot, Qt::ConnectionType type,
                                   void* ret)
{
    static const auto fn = real<bool (*)(QObject*, QtPrivate::QSlotObjectBase*, Qt::ConnectionType, void*)>(
        "_ZN11QMetaObject16invokeMethodImplEP7QObjectPN9QtPrivate15QSlotObjectBaseEN2Qt14ConnectionTypeEPv");
    if (type == Qt::DirectConnection || !object)
        return fn(object, slot, type, ret);

    // The call is wrapped: handled, it acquires what its caller did (on the
    // functor the event carries), it releases what it did, and whichever
    // thread destroys it last (Qt counts the references inside itself)
    // acquires that. A blocking call is queued, and the caller waits until it
    // has run (instead of on Qt's own semaphore).
    struct Owner
    {
        QtPrivate::QSlotObjectBase* slot = nullptr;
        ~Owner()
        {
            __tsan_acquire(this);
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
        __tsan_release(owner.get());
    };
    auto* queued = new QtPrivate::QFunctorSlotObjectWithNoArgs<decltype(call), void>(std::move(call));
    owner.reset();
    __tsan_release(queued);
    if (!blocking)
        return fn(object, queued, type, ret);
    const bool posted = fn(object, queued, Qt::QueuedConnection, nullptr);
    if (posted) {
        std::unique_lock<std::mutex> lock(done->mutex);
        done->changed.wait(lock, [&] { return done->ran; });
    }
    return posted;
}

bool QMetaObject::invokeMethod(QObject* object, const char* member, Qt::ConnectionType type, QGenericReturnArgument ret,
                               QGenericArgument a0, QGenericArgument a1, QGenericArgument a2, QGenericArgument a3,
                               QGenericArgument a4, QGenericArgument a5, QGenericArgument a6, QGenericArgument a7,
                               QGenericArgument a8, QGenericArgument a9)
{
    static const auto fn =
        real<bool (*)(QObject*, const char*, Qt::ConnectionType, QGenericReturnArgument, QGenericArgument,
                      QGenericArgument, QGenericArgument, QGenericArgument, QGenericArgument, QGenericArgument,
                      QGenericArgument, QGenericArgument, QGenericArgument, QGenericArgument)>(
            "_ZN11QMetaObject12invokeMethodEP7QObjectPKcN2Qt14ConnectionTypeE22QGenericReturnArgument16QGenericArgument"
            "S7_S7_S7_S7_S7_S7_S7_S7_S7_");
    // Queued, the arguments are copied inside: each copy is released on the
    // receiver, which the call acquires when it is handled.
    const QObject* outer = emitting;
    emitting = object;
    __tsan_release(object);
    const bool done = fn(object, member, type, ret, a0, a1, a2, a3, a4, a5, a6, a7, a8, a9);
    emitting = outer;
    return done;
}

void QCoreApplication::postEvent(QObject* receiver, QEvent* event, int priority)
{
    static const auto fn = real<void (*)(QObject*, QEvent*, int)>("_ZN16QCoreApplication9postEventEP7QObjectP6QEventi");
    __tsan_release(event);
    fn(receiver, event, priority);
}

int QMetaType::registerNormalizedType(const ::QByteArray& name, Destructor destructor, Constructor constructor,
                                      int size, QMetaType::TypeFlags flags, const QMetaObject* metaObject)
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
    static const auto fn = real<void (*)(QThreadPool*, std::function<void()>, int)>(
        "_ZN11QThreadPool5startESt8functionIFvvEEi");
    // Held by the function from here on (too large to be kept in place), so
    // the address the task starts on is the one released here.
    struct Run
    {
        std::function<void()> function;
        void operator()()
        {
            __tsan_acquire(this);
            function();
        }
    };
    std::function<void()> run = Run{std::move(function)};
    __tsan_release(run.target<Run>());
    fn(this, std::move(run), priority);
}
