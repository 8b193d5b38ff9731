#ifndef QUILLON_TESTS_SEARCH_WALK_FIXTURE_H
#define QUILLON_TESTS_SEARCH_WALK_FIXTURE_H

#include "search/registry_walker.h"
#include "support/test_key.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <atomic>

// A test key in the real registry, the two windows that a walk reports to,
// and a walk of the test key as a search would make it below
// HKEY_CURRENT_USER.
class WalkTest : public testing::Test {
protected:
    BOOL Walk(const std::string& strFind, const std::string& strFindShort = "",
              const RegistryOps& ops = RegistryOps::Real()) {
        return RecurseRegistry(m_windows.Notify(), m_windows.List(), kMsgKeyCount, kMsgKeyPath,
                               &m_bSearching, strFind, strFindShort, "HKEY_CURRENT_USER",
                               m_key.KeyPath(), m_key.Handle(), &m_nKeyCount, ops);
    }

    // The key paths of the rows found, in list order.
    std::vector<std::string> RowPaths() const {
        std::vector<std::string> paths;
        for (const ResultRow& row : m_windows.Rows())
            paths.push_back(row.strKeyPath);
        return paths;
    }

    // The full key path that a row shows for a subkey of the test key.
    std::string Under(const std::string& strSubPath) const {
        return m_key.KeyPath() + strSubPath;
    }

    CTestKey m_key;
    CTestWindows m_windows;
    std::atomic<LONG> m_bSearching{1};
    int m_nKeyCount = 0;
};

#endif
