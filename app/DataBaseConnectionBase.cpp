#include "DataBaseConnectionBase.h"

DataBaseConnectionBase& DataBaseConnectionBase::Instance() {
    // A function-local static is created exactly once even under concurrent first use.
    static DataBaseConnectionBase instance;
    return instance;
}

void DataBaseConnectionBase::SetPath(const QString& path) {
    std::lock_guard lock(m_mutex);
    m_path = path;
}

QString DataBaseConnectionBase::Path() const {
    std::lock_guard lock(m_mutex);
    return m_path;
}
