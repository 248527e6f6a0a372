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
    std::copy(entity.outputBOStates, entity.outputBOStates + 4, bo);
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
