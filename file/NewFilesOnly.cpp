#include "NewFilesOnly.h"

namespace {

thread_local bool t_new_files_only = false;

}  // namespace

NewFilesOnly::NewFilesOnly() : m_outer(t_new_files_only) {
    t_new_files_only = true;
}

NewFilesOnly::~NewFilesOnly() {
    t_new_files_only = m_outer;
}

bool NewFilesOnly::Active() {
    return t_new_files_only;
}
