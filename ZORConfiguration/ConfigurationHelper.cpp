#include "ConfigurationHelper.h"

#include <atomic>

ConfigurationHelper::ConfigurationHelper(QObject* parent)
    : QObject(parent)
{
}

ConfigurationHelper* ConfigurationHelper::getInstance()
{
    static std::atomic<ConfigurationHelper*> instance{nullptr};
    ConfigurationHelper* current = instance.load(std::memory_order_acquire);
    if (current)
        return current;
    auto* created = new ConfigurationHelper();
    if (instance.compare_exchange_strong(current, created, std::memory_order_acq_rel))
        return created;
    delete created; // another thread won the race
    return current;
}
