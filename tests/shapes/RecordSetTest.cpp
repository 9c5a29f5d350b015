// The set of records answers as the standard library's set does through a long run of inserts,
// erases, inserts of many at once and resets that crowd its slots, wrap around their end, grow
// them and start them again.
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
        if (round % 1000 == 999) {
            // A reset to a size now smaller, now larger than the set holds.
            set.Reset(random() % 300);
            reference.clear();
        } else if (round % 50 == 0) {
            // A batch that holds records twice and records in the set already; those new
            // to the set come back once each, in the batch's order.
            std::vector<CData*> batch, added, expected;
            for (int k = 0; k < 30; ++k)
                batch.push_back(&records[random() % 60]);
            for (CData* p : batch)
                if (reference.insert(p).second)
                    expected.push_back(p);
            set.InsertAll(batch, added);
            EXPECT_EQ(added, expected);
        } else if (random() % 2) {
            EXPECT_EQ(set.Insert(pData), reference.insert(pData).second);
        } else {
            EXPECT_EQ(set.Erase(pData), reference.erase(pData) == 1);
        }
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
