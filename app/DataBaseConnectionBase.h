#pragma once

#include <QString>
#include <mutex>

// Holds the path of the database file for the database layer. The program records the path at
// start-up and reads it nowhere else; the database itself is never opened here.
class DataBaseConnectionBase {
public:
    virtual ~DataBaseConnectionBase() = default;

    // The process-wide instance, created on first use; safe to call from any thread.
    static DataBaseConnectionBase& Instance();

    // Replaces the stored path.
    void SetPath(const QString& path);
    // A null string until a path has been set.
    QString Path() const;

protected:
    DataBaseConnectionBase() = default;

private:
    mutable std::mutex m_mutex;
    QString m_path;
};
