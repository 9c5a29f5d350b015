// The set of records answers as the standard library's set does through a long run of inserts
// and erases that crowd its slots, wrap around their end and grow them.
#include "shapes/RecordSet.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

TEST(RecordSet, AnswersAsAStandardSet)
{
    std::vector<CData> records(600);
    std::mt19937 random(7);
    CRecordSet set;
    std::set<const CData*> reference;
    for (int round = 0; round < 20000; ++round) {
        // Mostly the first few records, so that runs of taken slots form and break up.
        const std::size_t i = random() % (round % 3 ? 40 : records.size());
        CData* pData = &records[i];
        if (random() % 2)
            EXPECT_EQ(set.Insert(pData), reference.insert(pData).second);
        else
            EXPECT_EQ(set.Erase(pData), reference.erase(pData) == 1);
        ASSERT_EQ(set.size(), reference.size());
        if (round % 97 == 0) {
            for (const CData& d : records)
                ASSERT_EQ(set.Contains(&d), reference.contains(&d)) << round;
        }
    }
    set.Clear();
    EXPECT_TRUE(set.empty());
    EXPECT_FALSE(set.Contains(&records[0]));
}
