#include <gtest/gtest.h>

#include <string>

#include "model/data_exchange.h"
#include "model/var_list.h"
#include "model/zor_var.h"
#include "model_test_util.h"

using modeltest::TableOwner;

namespace {
// Every test that uses tokens with the DATAEXCHANGE source gets its own hub.
struct WithDataExchange : ::testing::Test {
  void SetUp() override { CVar::SetDataExchange(&dx); }
  void TearDown() override {
    list.Destroy();
    CVar::SetDataExchange(nullptr);
  }
  CDataExchange dx;
  CVarList list;
};
}  // namespace

TEST(VarToken, FieldsAreTrimmedAndTheCursorMovesPastTheToken) {
  const char* text = "Takt: @#var,int,null,opnv.line.takt# min";
  const char* cursor = text;
  std::string f[12];
  int count = 12;
  ASSERT_EQ(CVarList::GetToken(&cursor, f, &count), 0);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(f[3], "opnv.line.takt");
  EXPECT_STREQ(cursor, "min");

  const char* spaced = "@#  VAR , FLOAT ,DATAEXCHANGE,  NAME , 2.5  #";
  cursor = spaced;
  count = 3;  // the caller takes fewer fields than the token has
  ASSERT_EQ(CVarList::GetToken(&cursor, f, &count), 0);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(f[0], "VAR");
  EXPECT_EQ(f[1], "FLOAT");
  EXPECT_EQ(*cursor, '\0');  // a token at the very end stops at the terminator

  cursor = "@#VAR,INT,NULL,X";
  count = 12;
  EXPECT_EQ(CVarList::GetToken(&cursor, f, &count), 1);
  cursor = "no token here #";
  EXPECT_EQ(CVarList::GetToken(&cursor, f, &count), 1);
}

TEST_F(WithDataExchange, TokensCreateOrShareVariablesByTypeAndSource) {
  // No INIT and another source: bound later by the window, nothing here.
  EXPECT_EQ(list.AddVarsFromString("@#var,INT,NULL,OPNV.LINE.TAKT#"), 0);
  EXPECT_EQ(list.GetCount(), 0);

  EXPECT_EQ(list.AddVarsFromString("x @# var , float , dataexchange , speed , 2.5 # y"), 0);
  CVar* speed = dx.GetVarByName("SPEED");
  ASSERT_NE(speed, nullptr);
  EXPECT_EQ(list.GetVarByName("SPEED"), speed);
  EXPECT_EQ(speed->GetVarType(), VAR_FLOATINGPOINT);
  EXPECT_EQ(dx.GetVarValue("DX.SPEED"), 2.5);

  // A second list shares the global instead of making another.
  CVarList other;
  EXPECT_EQ(other.AddVarsFromString("@#VAR,FLOAT,DATAEXCHANGE,SPEED,9#"), 0);
  EXPECT_EQ(other.GetVarByName("SPEED"), speed);
  EXPECT_EQ(dx.GetVarValue("DX.SPEED"), 2.5);
  // Destroying a window's list leaves the shared global alive.
  other.Destroy();
  EXPECT_EQ(dx.GetVarByName("SPEED"), speed);

  EXPECT_EQ(list.AddVarsFromString("@#VAR,INTEGER,NULL,COUNT,12# @#VAR,INT,NULL,COUNT,99# @#VAR,VAR_STRING,NULL,LABEL,Hallo Welt#"), 0);
  double v = 0;
  list.GetVarByName("COUNT")->GetValue(&v);
  EXPECT_EQ(v, 12.0);
  EXPECT_STREQ(list.GetVarByName("LABEL")->GetText(), "Hallo Welt");  // INIT keeps its case

  // An unknown TYPE ends the parse; the token after it is not read.
  EXPECT_EQ(list.AddVarsFromString("@#VAR,LONG,NULL,A,1# @#VAR,INT,NULL,B,1#"), 1);
  EXPECT_EQ(list.GetVarByName("B"), nullptr);
  // Back to back: only the first; no closing '#': nothing.
  EXPECT_EQ(list.AddVarsFromString("@#VAR,INT,NULL,C,1#@#VAR,INT,NULL,D,1#"), 0);
  EXPECT_NE(list.GetVarByName("C"), nullptr);
  EXPECT_EQ(list.GetVarByName("D"), nullptr);
  EXPECT_EQ(list.AddVarsFromString("@#VAR,INT,NULL,E,1"), 0);
  EXPECT_EQ(list.GetVarByName("E"), nullptr);
  EXPECT_EQ(list.AddVarsFromString(nullptr), 1);
}

TEST(Var, NamesAndFloatPrecision) {
  CVar var;
  var.Create(VAR_DOUBLE, "", 0.1);
  EXPECT_STREQ(var.GetName(), "NoName");
  var.SetName(std::string(81, 'A').c_str());
  EXPECT_STREQ(var.GetName(), "NoName");
  var.SetName(std::string(80, 'A').c_str());
  EXPECT_EQ(std::string(var.GetName()).size(), 80u);
  double v = 0;
  var.GetValue(&v);
  EXPECT_EQ(v, 0.10000000149011612);
  var.SetValue(1e300);  // beyond float range: saturates rather than overflowing
  var.GetValue(&v);
  EXPECT_EQ(v, static_cast<double>(3.40282346638528859811704183484516925440e+38f));
}

TEST(Var, BoundVariablesReadWriteStepAndClampThroughTheirOwner) {
  TableOwner owner("T.");
  CVar count;
  count.Create(VAR_INTEGER, "T.COUNT", &owner);
  double step = 0;
  EXPECT_EQ(count.GetStep(&step), 0);
  EXPECT_EQ(step, 1.0);
  count.StepUp();
  EXPECT_EQ(owner.Value("T.COUNT"), 30.0);
  count.StepUp();
  EXPECT_EQ(owner.Value("T.COUNT"), 30.0);
  for (int i = 0; i < 40; ++i) count.StepDown();
  EXPECT_EQ(owner.Value("T.COUNT"), 0.0);
  count.Toggle();
  EXPECT_EQ(owner.Value("T.COUNT"), 1.0);
  count.Toggle();
  EXPECT_EQ(owner.Value("T.COUNT"), 0.0);

  CVar price;
  price.Create(VAR_DOUBLE, "T.PRICE", &owner);
  price.StepUp();  // doubles do not step
  EXPECT_EQ(owner.Value("T.PRICE"), 1.5);
  price.AddValue(0.75);
  EXPECT_EQ(owner.Value("T.PRICE"), 2.25);
  price.SetValue(0.1);  // the owner receives float precision
  EXPECT_EQ(owner.Value("T.PRICE"), static_cast<double>(0.1f));
  double max = 0;
  price.GetMax(&max);
  EXPECT_EQ(max, 4.0);

  // Texts: the owner's answer becomes the variable's text.
  price.SetValue("teuer");
  EXPECT_EQ(owner.lastText, "teuer");
  char buffer[4];
  EXPECT_EQ(price.GetValue(buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "teu");  // cut to the buffer, never past it

  // A name the owner does not know reads the cached value and takes no writes.
  CVar unknown;
  unknown.Create(VAR_DOUBLE, "T.NONE", &owner);
  const int writes = owner.writes;
  unknown.SetValue(5);
  EXPECT_EQ(owner.writes, writes + 1);
  EXPECT_EQ(unknown.GetStep(&step), 1);

  CVar copy;
  copy.Copy(&price);
  EXPECT_STREQ(copy.GetName(), "T.PRICE");
  EXPECT_NE(copy.GetName(), price.GetName());
  EXPECT_EQ(copy.GetZorvaObject(), &owner);
}

namespace {
CVar* NewVar(const char* name, double value) {
  auto* var = new CVar;
  var->Create(VAR_INTEGER, name, value);
  return var;
}

std::vector<std::string> Names(CVarList& list, int direction = 0) {
  std::vector<std::string> names;
  list.SetupZorvaCount(direction);
  while (CZorvaObject* o = list.GetNextZorva()) names.push_back(static_cast<CVar*>(o)->GetName());
  return names;
}
}  // namespace

TEST(VarList, PointsToItsVariablesWithoutOwningThem) {
  CVar* a = NewVar("A", 1);
  CVar* b = NewVar("B", 2);
  {
    CVarList list;
    list.AddHeadZorva(a);
    list.AddHeadZorva(b);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(Names(list, 1), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(list.GetVarByName("A"), a);
    EXPECT_EQ(list.CheckZorvaInList(b), 0);
  }
  // The list is gone; the variables are still there to be destroyed.
  EXPECT_STREQ(a->GetName(), "A");
  CVarList list;
  list.AddHeadZorva(a);
  list.AddHeadZorva(b);
  EXPECT_EQ(list.Destroy(), 0);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetVarByName("A"), nullptr);
}

TEST(VarList, AWalkSurvivesRemovalsAndAdditions) {
  CVar* v[4];
  CVarList list;
  const char* names[] = {"A", "B", "C", "D"};
  for (int i = 3; i >= 0; --i) list.AddHeadZorva(v[i] = NewVar(names[i], i));  // A B C D
  std::vector<std::string> seen;
  list.SetupZorvaCount(1);
  while (CZorvaObject* o = list.GetNextZorva()) {
    CVar* var = static_cast<CVar*>(o);
    seen.push_back(var->GetName());
    if (var == v[3]) {
      list.RemoveZorva(v[2]);  // the one the walk would return next
      list.AddHeadZorva(v[2]);  // back in, at the far end of this walk
    }
    if (var == v[1]) list.RemoveZorva(var);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"D", "B", "A", "C"}));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"C", "A", "D"}));
  list.AddHeadZorva(v[1]);
  list.Destroy();
}
