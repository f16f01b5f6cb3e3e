#include <gtest/gtest.h>

#include <string>

#include "platform/message.h"
#include "substrate.h"

// Each test defines classes of its own: the runtime keeps classes for the
// life of the process, and one test's hooks must not leak into another's.

namespace {

using platform::implementationCast;
using platform::send;

Class rootClass(const std::string& name) {
  Class cls = objc_allocateClassPair(Nil, name.c_str(), 0);
  // A root class needs its isa first, or the first variable overlaps it.
  class_addIvar(cls, "isa", sizeof(Class), 3, "#");
  objc_registerClassPair(cls);
  return cls;
}

Class subclass(Class superclass, const std::string& name) {
  Class cls = objc_allocateClassPair(superclass, name.c_str(), 0);
  objc_registerClassPair(cls);
  return cls;
}

SEL selector(const char* name) { return sel_registerName(name); }

int answerOne(id, SEL) { return 1; }
int answerTwo(id, SEL) { return 2; }
int answerThree(id, SEL) { return 3; }

// The replacement under test calls what it saved, so that a test sees both.
IMP savedAnswer = nullptr;
int answerTenPlusPrevious(id self, SEL cmd) {
  return 10 + implementationCast<int (*)(id, SEL)>(savedAnswer)(self, cmd);
}

void addAnswer(Class cls, int (*implementation)(id, SEL)) {
  class_addMethod(cls, selector("answer"), implementationCast<IMP>(implementation), "i@:");
}

id instance(Class cls) { return class_createInstance(cls, 0); }

class Hook : public testing::Test {
 protected:
  void SetUp() override { savedAnswer = nullptr; }
  void TearDown() override {
    for (id object : objects_) object_dispose(object);
  }
  id make(Class cls) {
    objects_.push_back(instance(cls));
    return objects_.back();
  }

 private:
  std::vector<id> objects_;
};

TEST_F(Hook, ReplacesAnOwnMethodAndSavesTheOldOne) {
  Class cls = rootClass("OwnRoot");
  addAnswer(cls, answerOne);
  id object = make(cls);
  ASSERT_EQ(send<int>(object, "answer"), 1);  // fills the dispatch table first

  MSHookMessageEx(cls, selector("answer"), implementationCast<IMP>(answerTenPlusPrevious), &savedAnswer);

  EXPECT_EQ(savedAnswer, implementationCast<IMP>(answerOne));
  EXPECT_EQ(send<int>(object, "answer"), 11);
  EXPECT_EQ(method_getImplementation(class_getInstanceMethod(cls, selector("answer"))),
            implementationCast<IMP>(answerTenPlusPrevious));
}

TEST_F(Hook, AMessagedSubclassSeesAHookOnItsSuperclassAtOnce) {
  Class base = rootClass("StaleBase");
  addAnswer(base, answerOne);
  Class derived = objc_allocateClassPair(base, "StaleDerived", 0);
  // A method of its own gives the subclass a dispatch table of its own.
  class_addMethod(derived, selector("other"), implementationCast<IMP>(answerThree), "i@:");
  objc_registerClassPair(derived);
  id object = make(derived);
  ASSERT_EQ(send<int>(object, "answer"), 1);

  IMP previous = nullptr;
  MSHookMessageEx(base, selector("answer"), implementationCast<IMP>(answerTwo), &previous);

  EXPECT_EQ(send<int>(object, "answer"), 2);
  EXPECT_EQ(send<int>(object, "other"), 3);
}

TEST_F(Hook, AddsAnInheritedMethodToTheClassAndLeavesTheSuperclassAlone) {
  Class base = rootClass("InheritBase");
  addAnswer(base, answerOne);
  Class derived = subclass(base, "InheritDerived");
  id parent = make(base);
  id child = make(derived);
  ASSERT_EQ(send<int>(child, "answer"), 1);

  MSHookMessageEx(derived, selector("answer"), implementationCast<IMP>(answerTenPlusPrevious), &savedAnswer);

  EXPECT_EQ(send<int>(child, "answer"), 11);
  EXPECT_EQ(send<int>(parent, "answer"), 1);
  EXPECT_EQ(method_getImplementation(class_getInstanceMethod(base, selector("answer"))),
            implementationCast<IMP>(answerOne));
  Method own = class_getInstanceMethod(derived, selector("answer"));
  EXPECT_NE(own, class_getInstanceMethod(base, selector("answer")));
  EXPECT_STREQ(method_getTypeEncoding(own), "i@:");
  // The saved pointer is not the superclass's implementation itself but
  // follows it, so it must not be the address of answerOne.
  EXPECT_NE(savedAnswer, implementationCast<IMP>(answerOne));
  EXPECT_EQ(implementationCast<int (*)(id, SEL)>(savedAnswer)(child, selector("answer")), 1);
}

TEST_F(Hook, TheSavedPointerOfAnInheritedMethodFollowsALaterSuperclassHook) {
  Class base = rootClass("FollowBase");
  addAnswer(base, answerOne);
  Class derived = subclass(base, "FollowDerived");
  id child = make(derived);
  id parent = make(base);
  MSHookMessageEx(derived, selector("answer"), implementationCast<IMP>(answerTenPlusPrevious), &savedAnswer);
  ASSERT_EQ(send<int>(child, "answer"), 11);

  IMP baseWas = nullptr;
  MSHookMessageEx(base, selector("answer"), implementationCast<IMP>(answerTwo), &baseWas);

  EXPECT_EQ(baseWas, implementationCast<IMP>(answerOne));
  EXPECT_EQ(send<int>(parent, "answer"), 2);
  EXPECT_EQ(send<int>(child, "answer"), 12);
}

TEST_F(Hook, TheSavedPointerFollowsAMethodInheritedFromFurtherUp) {
  Class top = rootClass("DeepTop");
  addAnswer(top, answerOne);
  Class middle = subclass(top, "DeepMiddle");
  Class bottom = subclass(middle, "DeepBottom");
  id object = make(bottom);
  MSHookMessageEx(bottom, selector("answer"), implementationCast<IMP>(answerTenPlusPrevious), &savedAnswer);
  ASSERT_EQ(send<int>(object, "answer"), 11);

  // A method given to the middle class later takes over, as a message to
  // the middle class would find it.
  addAnswer(middle, answerThree);
  EXPECT_EQ(send<int>(object, "answer"), 13);
}

// Arguments of every kind reach the superclass through the trampoline:
// more integers and reals than there are registers, a large returned
// structure (returned through a hidden pointer) and a real result.
struct Wide {
  long values[6];
};

Wide wideAnswer(id, SEL, long a, long b, long c, long d, double x, double y, double z, double w, double p, double q,
                double r, double s, double t, long e, long f) {
  return Wide{{a + b * 10, c + d * 10, e + f * 10, static_cast<long>(x + y * 10 + z * 100 + w * 1000),
               static_cast<long>(p + q * 10 + r * 100 + s * 1000), static_cast<long>(t)}};
}

double realAnswer(id, SEL, float f, double d, char c, unsigned char b) { return f + d + c + b; }

TEST_F(Hook, TheTrampolineForwardsEveryArgumentAndTheResult) {
  Class base = rootClass("ArgumentsBase");
  class_addMethod(base, selector("wide"), implementationCast<IMP>(wideAnswer), "{Wide=[6l]}@:");
  class_addMethod(base, selector("real"), implementationCast<IMP>(realAnswer), "d@:fdcC");
  Class derived = subclass(base, "ArgumentsDerived");
  id object = make(derived);
  IMP wide = nullptr;
  IMP real = nullptr;
  MSHookMessageEx(derived, selector("wide"), implementationCast<IMP>(wideAnswer), &wide);
  MSHookMessageEx(derived, selector("real"), implementationCast<IMP>(realAnswer), &real);
  ASSERT_NE(wide, implementationCast<IMP>(wideAnswer));
  ASSERT_NE(real, implementationCast<IMP>(realAnswer));

  auto callWide = implementationCast<decltype(&wideAnswer)>(wide);
  Wide got = callWide(object, selector("wide"), 1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8, 9, 5, 6);
  Wide want = wideAnswer(object, selector("wide"), 1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8, 9, 5, 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(got.values[i], want.values[i]) << "field " << i;

  auto callReal = implementationCast<decltype(&realAnswer)>(real);
  EXPECT_DOUBLE_EQ(callReal(object, selector("real"), 0.5f, 0.25, 'a', 200), 0.5 + 0.25 + 'a' + 200);
}

// Structures of reals travel in floating-point registers where the calling
// convention allows (the hard-float ARM one, both ways) and on the stack
// where the registers run out.
struct Rect {
  double x, y, width, height;
};

Rect spanning(id, SEL, Rect a, Rect b, Rect c) {
  return Rect{a.x + b.x * 10 + c.x * 100, a.y + b.y * 10 + c.y * 100, a.width + b.width * 10 + c.width * 100,
              a.height + b.height * 10 + c.height * 100};
}

TEST_F(Hook, TheTrampolineForwardsStructuresOfRealsAndReturnsOne) {
  Class base = rootClass("RectBase");
  class_addMethod(base, selector("spanning"), implementationCast<IMP>(spanning),
                  "{Rect=dddd}@:{Rect=dddd}{Rect=dddd}{Rect=dddd}");
  Class derived = subclass(base, "RectDerived");
  id object = make(derived);
  IMP saved = nullptr;
  MSHookMessageEx(derived, selector("spanning"), implementationCast<IMP>(spanning), &saved);
  ASSERT_NE(saved, implementationCast<IMP>(spanning));

  Rect got = implementationCast<decltype(&spanning)>(saved)(object, selector("spanning"), Rect{1, 2, 3, 4},
                                                            Rect{5, 6, 7, 8}, Rect{9, 0.5, 0.25, 0.125});
  EXPECT_DOUBLE_EQ(got.x, 951);
  EXPECT_DOUBLE_EQ(got.y, 112);
  EXPECT_DOUBLE_EQ(got.width, 98);
  EXPECT_DOUBLE_EQ(got.height, 96.5);
}

TEST_F(Hook, HooksAClassMethodThroughTheMetaclass) {
  Class cls = rootClass("ClassMethodRoot");
  class_addMethod(object_getClass(reinterpret_cast<id>(cls)), selector("answer"), implementationCast<IMP>(answerOne),
                  "i@:");
  id receiver = reinterpret_cast<id>(cls);
  ASSERT_EQ(send<int>(receiver, "answer"), 1);

  IMP previous = nullptr;
  MSHookMessageEx(object_getClass(receiver), selector("answer"), implementationCast<IMP>(answerTwo), &previous);

  EXPECT_EQ(previous, implementationCast<IMP>(answerOne));
  EXPECT_EQ(send<int>(receiver, "answer"), 2);
}

TEST_F(Hook, ANullResultPointerIsAllowed) {
  Class cls = rootClass("NullResult");
  addAnswer(cls, answerOne);
  Class derived = subclass(cls, "NullResultDerived");
  MSHookMessageEx(cls, selector("answer"), implementationCast<IMP>(answerTwo), nullptr);
  MSHookMessageEx(derived, selector("answer"), implementationCast<IMP>(answerThree), nullptr);
  EXPECT_EQ(send<int>(make(cls), "answer"), 2);
  EXPECT_EQ(send<int>(make(derived), "answer"), 3);
}

TEST_F(Hook, ANilClassWarnsAndLeavesTheResultAlone) {
  IMP result = implementationCast<IMP>(answerThree);
  testing::internal::CaptureStderr();
  MSHookMessageEx(Nil, selector("answer"), implementationCast<IMP>(answerTwo), &result);
  std::string warning = testing::internal::GetCapturedStderr();

  EXPECT_EQ(warning, "MS:Warning: nil class argument for answer\n");
  EXPECT_EQ(result, implementationCast<IMP>(answerThree));
}

TEST_F(Hook, ASelectorNoClassHasWarnsAndChangesNothing) {
  Class base = rootClass("MissingBase");
  addAnswer(base, answerOne);
  Class derived = subclass(base, "MissingDerived");
  IMP result = implementationCast<IMP>(answerThree);
  testing::internal::CaptureStderr();
  MSHookMessageEx(derived, selector("neverDefinedAnywhere"), implementationCast<IMP>(answerTwo), &result);
  std::string warning = testing::internal::GetCapturedStderr();

  EXPECT_EQ(warning, "MS:Warning: message not found [-MissingDerived neverDefinedAnywhere]\n");
  EXPECT_EQ(result, implementationCast<IMP>(answerThree));
  EXPECT_FALSE(class_respondsToSelector(derived, selector("neverDefinedAnywhere")));
  EXPECT_FALSE(class_respondsToSelector(base, selector("neverDefinedAnywhere")));
  // Nothing answers, so the message helper answers zero.
  EXPECT_EQ(send<int>(make(derived), "neverDefinedAnywhere"), 0);
}

TEST_F(Hook, WhenThePoolRunsOutTheSavedPointerIsTheCurrentSuperclassImplementation) {
  Class base = rootClass("PoolBase");
  addAnswer(base, answerOne);
  std::string warning;
  Class last = Nil;
  IMP previous = nullptr;
  // Other tests in this process may have taken stubs already; run until the
  // pool says it is empty, well past its size.
  for (int i = 0; i < 300 && warning.empty(); ++i) {
    last = subclass(base, "PoolDerived" + std::to_string(i));
    testing::internal::CaptureStderr();
    MSHookMessageEx(last, selector("answer"), implementationCast<IMP>(answerTwo), &previous);
    warning = testing::internal::GetCapturedStderr();
  }
  ASSERT_NE(warning.find("MS:Warning: no trampoline left for [-PoolDerived"), std::string::npos) << warning;
  EXPECT_EQ(previous, implementationCast<IMP>(answerOne));
  EXPECT_EQ(send<int>(make(last), "answer"), 2);
  EXPECT_EQ(send<int>(make(base), "answer"), 1);
}

TEST(MessageHelper, ANilReceiverAnswersZero) {
  EXPECT_EQ(send<int>(nil, "answer"), 0);
  EXPECT_EQ(send<double>(nil, "answer"), 0.0);
  EXPECT_EQ(send<const char*>(nil, "answer"), nullptr);
  send(nil, "answer");  // a void message to nil does nothing
}

}  // namespace
