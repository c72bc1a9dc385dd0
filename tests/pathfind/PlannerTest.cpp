// AStarPlanner checked node for node against the sorted-list planner on thousands of random
// grids; the edges of the containers that planner is built from.
#include <gtest/gtest.h>
#include <random>
#include <vector>
#include "pathfind/AStarPlanner.h"
#include "pathfind/FixedDeque.h"
#include "pathfind/NodeHashTable.h"
#include "SortedListPlanner.h"

namespace tarvoke {
namespace {

// The planners exercise insertion and erasure at every position; the edges they never reach:
TEST(FixedDeque, WrapsAroundAndRefusesWhenFull) {
    FixedDeque<int> deque(3);
    EXPECT_TRUE(deque.pushBack(1));
    EXPECT_TRUE(deque.pushFront(0));  // the front wraps to the array's end
    EXPECT_TRUE(deque.insert(1, 5));
    EXPECT_FALSE(deque.pushBack(9));
    EXPECT_FALSE(deque.pushFront(9));
    EXPECT_FALSE(deque.insert(1, 9));
    for (int expected : {1, 5, 0}) EXPECT_EQ(deque.popBack(), expected);
    EXPECT_TRUE(deque.empty());
}

// A lookup remembers where it found the node; an insertion into the same bucket before the
// removal must not make the removal unlink the newcomer.
TEST(NodeHashTable, RemovalAfterAnInsertionIntoTheSameBucket) {
    NodeHashTable table(8);  // 16 x 16 buckets: (1, 2) and (17, 18) share one
    Node a{nullptr, 1, 2, 0, 0, nullptr, 0}, b{nullptr, 17, 18, 0, 0, nullptr, 0};
    table.insert(&a);
    ASSERT_EQ(table.find(1, 2), &a);
    table.insert(&b);
    table.remove(&a);
    EXPECT_EQ(table.find(1, 2), nullptr);
    EXPECT_EQ(table.find(17, 18), &b);
}

// Each node handed out by the pool, in order: its cell, costs and parent. Equal lists mean the
// two planners expanded the same cells in the same order and ended with the same paths.
void expectSameNodes(const Planner& fast, const Planner& reference, int round) {
    ASSERT_EQ(fast.pool().used(), reference.pool().used()) << round;
    for (std::size_t i = 0; i < fast.pool().used(); ++i) {
        const Node& a = *fast.pool().node(i);
        const Node& b = *reference.pool().node(i);
        ASSERT_TRUE(a.x == b.x && a.y == b.y && a.g == b.g && a.f == b.f) << round << " node " << i;
        ASSERT_EQ(a.parent ? int(fast.pool().indexOf(a.parent)) : -1, b.parent ? int(reference.pool().indexOf(b.parent)) : -1)
            << round << " node " << i;
    }
}

TEST(AStarPlanner, ExpandsInTheOrderOfTheSortedList) {
    std::mt19937 random(1919);
    std::uniform_real_distribution<float> unit(0, 1);
    const float weights[] = {0, 0.25f, 0.5f, 0.75f, 1};
    std::uint64_t reopenings = 0;
    int found = 0;
    for (int round = 0; round < 3000; ++round) {
        SearchParameters parameters;
        parameters.width = 1 + int(random() % 24);
        parameters.height = 1 + int(random() % 24);
        const std::size_t cells = std::size_t(parameters.width * parameters.height);
        parameters.poolSize = parameters.openCapacity = cells;
        parameters.hashBits = int(random() % 9);
        parameters.weight = round % 6 < 5 ? weights[round % 6] : unit(random);
        parameters.diagonals = round % 4 == 3;
        parameters.diagonalCost = random() % 2;
        parameters.startX = int(random() % unsigned(parameters.width));
        parameters.startY = int(random() % unsigned(parameters.height));
        parameters.goalX = int(random() % unsigned(parameters.width));
        parameters.goalY = int(random() % unsigned(parameters.height));
        // Equal values (every open cell costs 2) and few distinct ones make many equal
        // priorities; drawn ones make few.
        const float blocked = unit(random) * 0.5f;
        std::vector<double> values(cells);
        for (double& value : values)
            value = unit(random) < blocked ? -double(random() % 2) : round % 3 == 0 ? 5 : round % 3 == 1 ? 1 + random() % 4 : 100 * unit(random);
        const CostGrid grid(values.data(), cells);

        AStarPlanner fast(parameters, grid);
        test::SortedListPlanner reference(parameters, grid);
        fast.start();
        reference.start();
        const bool reached = fast.search();
        ASSERT_EQ(reached, reference.search()) << round;
        ASSERT_EQ(fast.expansions(), reference.expansions()) << round;
        expectSameNodes(fast, reference, round);
        found += reached;
        reopenings += reference.reopenings();
    }
    EXPECT_GT(found, 1500);
    EXPECT_GT(reopenings, 100u);  // the closed set's re-opening was exercised
}

// A pool of one node per cell is used up by one search across the row: a second start must
// rewind it.
TEST(AStarPlanner, StartsAgainAfterASearch) {
    SearchParameters parameters;
    parameters.width = parameters.poolSize = 3;
    parameters.height = 1;
    parameters.goalX = 2;
    const double values[] = {1, 1, 1};
    AStarPlanner planner(parameters, CostGrid(values, 3));
    for (int run = 0; run < 2; ++run) {
        planner.start();
        ASSERT_TRUE(planner.search());
        EXPECT_EQ(planner.goalNode()->g, 4);  // two cells of cost 2
        planner.cleanup();
        EXPECT_EQ(planner.goalNode(), nullptr);
    }
}

} // namespace
} // namespace tarvoke
