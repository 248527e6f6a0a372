#pragma once

// Pieces the family run controls (ControllerTestorSource.cpp,
// ControllerTestorProtection.cpp) make their modules' adaptors from. An
// entity is reached as the testor's member M (ControllerTestor::dataAlternate
// and so on); the entities share no base, only these function templates.

#include "ControllerModuleTable.h"
#include "driverbase.h"

#include <QMutexLocker>

#include <algorithm>

namespace ModuleAdaptorParts {

template <typename Entity, Entity* ControllerTestor::*M>
Entity& entityOf(ControllerTestor& testor)
{
    return *(testor.*M);
}

template <typename Entity, Entity* ControllerTestor::*M>
const Entity& entityOf(const ControllerTestor& testor)
{
    return *(testor.*M);
}

template <typename Entity, Entity* ControllerTestor::*M>
QRecursiveMutex& entityLock(ControllerTestor& testor)
{
    return entityOf<Entity, M>(testor).entityLock;
}

// The entity's binary outputs into the control record, and a copy for the event.
template <typename Entity, Entity* ControllerTestor::*M>
void boStates(ControllerTestor& testor, qint32 bo[4])
{
    Entity& entity = entityOf<Entity, M>(testor);
    QMutexLocker lock(&entity.entityLock);
    entity.updateToDriverBOStates();
    // Element by element: GCC 12 at -O3 takes std::copy's memmove down a
    // null path it makes up from QMutexLocker's test of the lock's address
    // (the lock is the entity's first member) and warns of it.
    for (int i = 0; i < 4; ++i)
        bo[i] = entity.outputBOStates[i];
}

// The largest current of the entity's output.
template <typename Entity, Entity* ControllerTestor::*M>
double outputCurrentMax(const ControllerTestor& testor)
{
    return entityOf<Entity, M>(testor).maxOutputCurrent();
}

// The number of states of the run into the output record and to the
// instrument; the driver's result, which every start counts.
template <typename Entity>
int sendStateCount(Entity& entity)
{
    entity.updateToDriverStateCount();
    return driverBaseSendTestStateCount();
}

}   // namespace ModuleAdaptorParts
