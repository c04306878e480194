#include "runtime/queue/queue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace rt {
namespace {

// A hit-test candidate: the key is `size`; `id` records the order of arrival.
struct Candidate {
  int32_t id;
  int32_t size;
  int32_t type;
};

// A row with fixed text, space padded or zero terminated.
struct Face {
  char name[12];
  int32_t weight;
  double height;
  int32_t id;
};

void SetText(char (&field)[12], const char* text, char pad) {
  std::memset(field, pad, sizeof field);
  std::memcpy(field, text, std::min(std::strlen(text), sizeof field));
}

template <class Row>
std::vector<int32_t> Ids(const Queue<Row>& q) {
  std::vector<int32_t> ids;
  for (const Row& r : q) ids.push_back(r.id);
  return ids;
}

struct InsertCase {
  const char* name;
  std::vector<int32_t> sizes;  // inserted in this order; ids are 1, 2, 3, ...
  SortOrder order;
  std::vector<int32_t> expected_ids;
};

// InsertInOrder puts each row after the entries with an equal key: ties keep arrival order,
// in both directions.
TEST(QueueTest, InsertInOrderIsStable) {
  const InsertCase cases[] = {
      {"empty", {}, SortOrder::kAscending, {}},
      {"ascending input", {1, 2, 3}, SortOrder::kAscending, {1, 2, 3}},
      {"descending input", {3, 2, 1}, SortOrder::kAscending, {3, 2, 1}},
      {"all equal", {5, 5, 5, 5}, SortOrder::kAscending, {1, 2, 3, 4}},
      {"ties around", {20, 10, 20, 10, 15}, SortOrder::kAscending, {2, 4, 5, 1, 3}},
      {"ties descending", {20, 10, 20, 10, 15}, SortOrder::kDescending, {1, 3, 5, 2, 4}},
      {"new minimum after ties", {7, 7, 1}, SortOrder::kAscending, {3, 1, 2}},
      {"negative",
       {0, -1, std::numeric_limits<int32_t>::min(), -1},
       SortOrder::kAscending,
       {3, 2, 4, 1}},
  };
  for (const InsertCase& c : cases) {
    SCOPED_TRACE(c.name);
    Queue<Candidate> q;
    int32_t id = 0;
    for (int32_t size : c.sizes) {
      q.buffer() = {++id, size, 0};
      q.InsertInOrder({{&Candidate::size, c.order}});
      EXPECT_EQ(q.At(q.Position()).id, id) << "the new row is the current entry";
    }
    EXPECT_EQ(Ids(q), c.expected_ids);
  }
}

// Random inserts against a model: a stable sort of the rows in arrival order.
TEST(QueueTest, InsertInOrderMatchesStableSortModel) {
  std::mt19937 rng(20240611);
  for (int round = 0; round < 50; ++round) {
    Queue<Candidate> q;
    std::vector<Candidate> model;
    int n = 1 + static_cast<int>(rng() % 60);
    for (int i = 1; i <= n; ++i) {
      Candidate c{i, static_cast<int32_t>(rng() % 8), static_cast<int32_t>(rng() % 3)};
      q.buffer() = c;
      q.InsertInOrder({{&Candidate::type, SortOrder::kDescending}, {&Candidate::size}});
      model.push_back(c);
    }
    std::stable_sort(model.begin(), model.end(), [](const Candidate& a, const Candidate& b) {
      if (a.type != b.type) return a.type > b.type;
      return a.size < b.size;
    });
    std::vector<int32_t> expected;
    for (const Candidate& c : model) expected.push_back(c.id);
    ASSERT_EQ(Ids(q), expected) << "round " << round;
  }
}

// Sort against a model on queues long enough that an unstable sort shows (few distinct keys,
// many rows), with both directions on two fields.
TEST(QueueTest, SortMatchesStableSortModel) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    Queue<Candidate> q;
    std::vector<Candidate> model;
    for (int i = 1; i <= 300; ++i) {
      q.buffer() = {i, static_cast<int32_t>(rng() % 4), static_cast<int32_t>(rng() % 3)};
      q.Append();
      model.push_back(q.buffer());
    }
    SortOrder type_order = round % 2 ? SortOrder::kDescending : SortOrder::kAscending;
    SortOrder size_order = round % 4 < 2 ? SortOrder::kDescending : SortOrder::kAscending;
    q.Sort({{&Candidate::type, type_order}, {&Candidate::size, size_order}});
    std::stable_sort(model.begin(), model.end(), [&](const Candidate& a, const Candidate& b) {
      if (a.type != b.type) return (type_order == SortOrder::kAscending) == (a.type < b.type);
      if (a.size != b.size) return (size_order == SortOrder::kAscending) == (a.size < b.size);
      return false;
    });
    std::vector<int32_t> expected;
    for (const Candidate& c : model) expected.push_back(c.id);
    ASSERT_EQ(Ids(q), expected) << "round " << round;
  }
}

class FaceQueueTest : public ::testing::Test {
 protected:
  void Add(int32_t id, const char* name, int32_t weight, double height, char pad = ' ') {
    SetText(q_.buffer().name, name, pad);
    q_.buffer().weight = weight;
    q_.buffer().height = height;
    q_.buffer().id = id;
    q_.Append();
  }

  void SetUp() override {
    Add(1, "beta", 400, 10);
    Add(2, "Alpha", 700, 12);
    Add(3, "alpha", 400, 9, '\0');
    Add(4, "Beta", 400, 11);
    Add(5, "alpha", 700, 12);
    Add(6, "gamma", 400, std::nan(""));
    Add(7, "alpha", 400, 9);  // same text as 3, padded with spaces instead of NULs
  }

  Queue<Face> q_;
};

struct SortCase {
  const char* name;
  std::vector<QueueKey<Face>> keys;
  std::vector<int32_t> expected_ids;
};

int ByIdDescending(const Face& a, const Face& b) { return b.id - a.id; }

TEST_F(FaceQueueTest, SortOnSeveralFields) {
  const SortCase cases[] = {
      {"name, case sensitive", {{&Face::name}}, {2, 4, 3, 5, 7, 1, 6}},
      {"name, case insensitive",
       {{&Face::name, SortOrder::kAscending, TextCase::kInsensitive}},
       {2, 3, 5, 7, 1, 4, 6}},
      {"name insensitive, weight descending",
       {{&Face::name, SortOrder::kAscending, TextCase::kInsensitive},
        {&Face::weight, SortOrder::kDescending}},
       {2, 5, 3, 7, 1, 4, 6}},
      {"weight, height descending (NaN last ascending, so first here)",
       {{&Face::weight}, {&Face::height, SortOrder::kDescending}},
       {6, 4, 1, 3, 7, 2, 5}},
      {"height ascending: NaN after every number", {{&Face::height}}, {3, 7, 1, 4, 2, 5, 6}},
      {"comparison function", {{&ByIdDescending}}, {7, 6, 5, 4, 3, 2, 1}},
      {"comparison function, reversed",
       {{&ByIdDescending, SortOrder::kDescending}},
       {1, 2, 3, 4, 5, 6, 7}},
  };
  for (const SortCase& c : cases) {
    SCOPED_TRACE(c.name);
    q_.Free();
    SetUp();
    q_.Sort(c.keys);
    EXPECT_EQ(Ids(q_), c.expected_ids);
    EXPECT_EQ(q_.Position(), 0);
  }
}

TEST_F(FaceQueueTest, SortTwiceIsStable) {
  // Sorting by weight after sorting by name leaves each weight's rows in name order.
  q_.Sort({{&Face::name, SortOrder::kAscending, TextCase::kInsensitive}});
  q_.Sort({{&Face::weight}});
  EXPECT_EQ(Ids(q_), (std::vector<int32_t>{3, 7, 1, 4, 6, 2, 5}));
}

TEST_F(FaceQueueTest, GetByKeyFindsFirstMatch) {
  SetText(q_.buffer().name, "ALPHA", ' ');
  EXPECT_EQ(q_.GetByKey({{&Face::name}}), kQueueEntryNotFound) << "case sensitive by default";
  EXPECT_EQ(q_.Position(), 7) << "a failed lookup keeps the position";
  EXPECT_EQ(q_.buffer().id, 7) << "and leaves the buffer as it was";

  ASSERT_EQ(q_.GetByKey({{&Face::name, SortOrder::kAscending, TextCase::kInsensitive}}), kQueueOk);
  EXPECT_EQ(q_.Position(), 2);
  EXPECT_EQ(q_.buffer().id, 2);

  // Trailing spaces and NUL termination do not matter; the first of 3 and 7 is found.
  SetText(q_.buffer().name, "alpha", ' ');
  q_.buffer().weight = 400;
  ASSERT_EQ(q_.GetByKey({{&Face::name}, {&Face::weight}}), kQueueOk);
  EXPECT_EQ(q_.buffer().id, 3);
  EXPECT_EQ(q_.Find({{&Face::name}}, q_.At(7)), 3);
}

TEST_F(FaceQueueTest, GetPutDelete) {
  ASSERT_EQ(q_.GetAt(4), kQueueOk);
  EXPECT_EQ(q_.buffer().id, 4);
  q_.buffer().weight = 900;
  ASSERT_EQ(q_.Put(), kQueueOk);
  EXPECT_EQ(q_.At(4).weight, 900);
  EXPECT_EQ(q_.Count(), 7);

  ASSERT_EQ(q_.Delete(), kQueueOk);
  EXPECT_EQ(Ids(q_), (std::vector<int32_t>{1, 2, 3, 5, 6, 7}));
  EXPECT_EQ(q_.Position(), 0);
  EXPECT_EQ(q_.Delete(), kQueueEntryNotFound) << "the row that moved up is not deleted";
  EXPECT_EQ(q_.Put(), kQueueEntryNotFound) << "nor overwritten";
  EXPECT_EQ(Ids(q_), (std::vector<int32_t>{1, 2, 3, 5, 6, 7}));

  // Insert at a position, then delete it from the back, as procedural loops do.
  q_.buffer().id = 8;
  ASSERT_EQ(q_.InsertAt(1), kQueueOk);
  q_.buffer().id = 9;
  ASSERT_EQ(q_.InsertAt(q_.Count() + 1), kQueueOk);
  EXPECT_EQ(Ids(q_), (std::vector<int32_t>{8, 1, 2, 3, 5, 6, 7, 9}));
  for (int64_t i = q_.Count(); i >= 1; --i) {
    ASSERT_EQ(q_.GetAt(i), kQueueOk);
    if (q_.buffer().id % 2 == 0) {
      ASSERT_EQ(q_.Delete(), kQueueOk);
    }
  }
  EXPECT_EQ(Ids(q_), (std::vector<int32_t>{1, 3, 5, 7, 9}));

  q_.Free();
  EXPECT_EQ(q_.Count(), 0);
  EXPECT_EQ(q_.Position(), 0);
  EXPECT_EQ(q_.buffer().id, 8) << "Free keeps the buffer (the last row deleted)";
  q_.ClearBuffer();
  EXPECT_EQ(q_.buffer().id, 0);
}

TEST_F(FaceQueueTest, OutOfRangeChangesNothing) {
  ASSERT_EQ(q_.GetAt(2), kQueueOk);
  for (int64_t position : {int64_t{0}, int64_t{-1}, int64_t{8}, int64_t{1} << 40}) {
    SCOPED_TRACE(position);
    q_.buffer().id = 42;
    EXPECT_EQ(q_.GetAt(position), kQueueEntryNotFound);
    EXPECT_EQ(q_.buffer().id, 42);
    EXPECT_EQ(q_.Position(), 2);
  }
  EXPECT_EQ(q_.InsertAt(0), kQueueEntryNotFound);
  EXPECT_EQ(q_.InsertAt(9), kQueueEntryNotFound);
  EXPECT_EQ(q_.Count(), 7);
  EXPECT_THROW(q_.At(8), std::out_of_range);
}

}  // namespace
}  // namespace rt
