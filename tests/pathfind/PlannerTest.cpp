// The planner's parts: the ring buffer, the hashed closed set, and AStarPlanner checked node for
// node against the sorted-list planner on thousands of random grids.
#include <gtest/gtest.h>
#include <random>
#include <vector>
#include "pathfind/AStarPlanner.h"
#include "pathfind/FixedDeque.h"
#include "pathfind/NodeHashTable.h"
#include "SortedListPlanner.h"

namespace tarvoke {
namespace {

std::vector<int> contents(const FixedDeque<int>& deque) {
    std::vector<int> values;
    for (std::size_t i = 0; i < deque.size(); ++i) values.push_back(deque.at(i));
    return values;
}

TEST(FixedDeque, WrapsAroundRefusesWhenFullAndEditsTheMiddle) {
    FixedDeque<int> deque(4);
    EXPECT_TRUE(deque.pushBack(2));
    EXPECT_TRUE(deque.pushFront(1));  // the front wraps to the array's end
    EXPECT_TRUE(deque.pushFront(0));
    EXPECT_TRUE(deque.pushBack(3));
    EXPECT_FALSE(deque.pushBack(9));
    EXPECT_FALSE(deque.pushFront(9));
    EXPECT_FALSE(deque.insert(2, 9));
    EXPECT_EQ(contents(deque), (std::vector<int>{0, 1, 2, 3}));
    deque.erase(1);
    EXPECT_EQ(contents(deque), (std::vector<int>{0, 2, 3}));
    EXPECT_TRUE(deque.insert(2, 7));
    EXPECT_EQ(contents(deque), (std::vector<int>{0, 2, 7, 3}));
    EXPECT_EQ(deque.popBack(), 3);
    deque.erase(0);
    EXPECT_TRUE(deque.insert(0, 5));
    EXPECT_TRUE(deque.insert(3, 6));
    EXPECT_EQ(contents(deque), (std::vector<int>{5, 2, 7, 6}));
    for (int expected : {6, 7, 2, 5}) EXPECT_EQ(deque.popBack(), expected);
    EXPECT_TRUE(deque.empty());
}

TEST(NodeHashTable, CellsSharingABucketStayApart) {
    EXPECT_EQ(NodeHashTable(9).bits(), 8);
    NodeHashTable table(8);  // 16 x 16: x and y are taken modulo 16
    Node a{nullptr, 1, 2, 0, 0, nullptr, 0}, b{nullptr, 17, 18, 0, 0, nullptr, 0}, c{nullptr, 33, 2, 0, 0, nullptr, 0};
    for (Node* node : {&a, &b, &c}) table.insert(node);
    EXPECT_EQ(table.find(17, 18), &b);
    EXPECT_EQ(table.find(1, 18), nullptr);
    table.remove(&b);
    EXPECT_EQ(table.find(17, 18), nullptr);
    EXPECT_EQ(table.find(33, 2), &c);
    table.remove(&a);  // not the node last found
    table.insert(&c);  // already at the head: nothing changes
    EXPECT_EQ(table.find(1, 2), nullptr);
    EXPECT_EQ(table.find(33, 2), &c);
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

TEST(AStarPlanner, StartsAgainAfterASearch) {
    SearchParameters parameters;
    parameters.width = 3;
    parameters.height = 2;
    parameters.poolSize = parameters.openCapacity = 6;
    parameters.goalX = 2;
    const double values[] = {1, 0, 1, 1, 1, 1};
    AStarPlanner planner(parameters, CostGrid(values, 6));
    for (int run = 0; run < 2; ++run) {
        planner.start();
        ASSERT_TRUE(planner.search());
        EXPECT_EQ(planner.goalNode()->y, 0);
        EXPECT_EQ(planner.goalNode()->parent->y, 1);  // around the blocked cell
        planner.cleanup();
        EXPECT_EQ(planner.goalNode(), nullptr);
    }
}

} // namespace
} // namespace tarvoke
