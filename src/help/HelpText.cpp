#include "help/HelpText.h"

namespace ms::help {
namespace {

// Page indexes, in the order of the help window's buttons.
enum Page : int {
  kConst,
  kFunc,
  kGroup,
  kPlot,
  kField,
  kSolution,
  kDeriv,
  kContour,
  kZero,
  kComments,
  k1DEQ,
  k2DEQ,
  k3DEQ,
  k4DEQ,
  k1BVP,
  k2BVP,
  kInteg,
  kDblInt
};

// Statements on the pages are indented by six blanks so that they stand out from the steps.
const std::array<HelpPageText, kHelpPageCount> kPages = {{
    {u"XfrmConst",
     u"Frame1",
     u"cmdHelpConst",
     u"Constants && Numbers",
     u"cmdConstExit",
     u"",
     {{{u"Numeric Examples",
        u"Legal numbers:\n"
        u"      25     -3.75     .5     1.5E3     2.1E-3     0.012E+2\n"
        u"The exponent is an upper-case E, an optional sign and one or two digits.\n"
        u"Not legal:\n"
        u"A lower-case e as exponent: 1.5e3 (write 1.5E3)\n"
        u"No decimal point in the exponent: 2.1E-3.5\n"
        u"Only one decimal point in a number: 3.4.5"},
       {u"Constant Format && Examples",
        u"A constant ID is one lower-case letter, optionally followed by a second lower-case "
        u"letter or a digit: m, pi, k2.\n"
        u"Write the ID, \"=\" and a number, or an expression of constants defined above it:\n"
        u"      pi = 3.14159\n"
        u"      m = 10\n"
        u"      k2 = 2pi*m\n"
        u"One statement per line, or several on one line separated by \":\".\n"
        u"End each line with Enter; the last line is read even without a line break."},
       {}}},
     u"See Pages 1,2 in the document."},
    {u"XfrmFunc",
     u"Frame1",
     u"cmdHelpFunc",
     u"Functions",
     u"cmdFuncExit",
     u"",
     {{{u"Function Format",
        u"A function ID is one upper-case letter, optionally followed by one lower-case letter: "
        u"F, Fb, Gx.\n"
        u"The parameter, one lower-case letter, stands in braces after the ID: F{t}. Up to five "
        u"parameters are separated by commas: H{x,y}.\n"
        u"Built-in functions take their argument in square brackets: Sin[x], Sqrt[x], Ln[x]."},
       {u"Assignment Examples",
        u"      F{t} = 1/t\n"
        u"      Fb{x} = Sin[3pi*x]      (the constant pi defined above it)\n"
        u"      G{x} = x^2 + 2x - 1"},
       {u"Sample Function",
        u"A function may call a function defined above it:\n"
        u"      F{x} = x^2\n"
        u"      H{x} = 3F{x} + 1\n"
        u"A parameter set gives the value at which the functions are listed:\n"
        u"      <x = 2>\n"
        u"Press F5 or Execute: the results list F and H at x = 2."}}},
     u"See Page 2 in the document."},
    {u"XfrmGroup",
     u"Frame1",
     u"cmdHelpGroup",
     u"( ), [ ], { } Use",
     u"cmdGroupExit",
     u"",
     {{{u"Groupings",
        u"( )  set the order of computation:\n"
        u"      a = 2(3 + 4)\n"
        u"[ ]  group the argument of a built-in function: Sqrt[x^2 + 1]\n"
        u"{ }  enclose the parameters of a function: F{x}, H{x,y}\n"
        u"Shortcuts: 2x means 2*x, and 2(x + 1) means 2*(x + 1).\n"
        u"A sign after an operator needs ( ): write 3^(-2) and 5*(-7).\n"
        u"For printing only, Display Options may turn [ ] and { } of the title into ( )."},
       {u"Error Detection of ...",
        u"Brackets of different kinds must pair: F{t} = (t] and F{t} = Sin[t are reported at "
        u"Execute.\n"
        u"With ( ) alone only their count is checked: a balanced but misplaced ( ) changes the "
        u"result without a message. Compare 1/(2 + 3)*4 with 1/((2 + 3)*4).\n"
        u"Using [ ] and { } where they belong lets Execute find more mistakes."},
       {}}},
     u"Check Page 3 of the Document for additional details on math shortcuts."},
    {u"XfrmPlot",
     u"Frame1",
     u"cmdHelpPlot",
     u"Plot",
     u"cmdPlotExit",
     u"",
     {{{u"Plot Command Setup",
        u"1. Choose the function and its range, here x from -3 to 3:\n"
        u"      F{x} = x^2 - 1\n"
        u"2. Build a vector of it; inside the vector write F without {x}:\n"
        u"      A<x> = <x, F, 0>\n"
        u"3. Set up Plot[ with the vector, the range and 100 points:\n"
        u"      Plot[A,{x,-3,3,100}]\n"
        u"4. Press F5 or Execute, then Graph.\n"
        u"Sample worksheet Parabola.txt: the three statements above. Save it once with File > "
        u"Save As; File > Open loads it again."},
       {},
       {}}},
     u"See Page 4 in the document."},
    {u"XfrmField",
     u"Frame1",
     u"cmdHelpFields",
     u"Fields",
     u"cmdFieldExit",
     u"",
     {{{u"PlotDirField Setup",
        u"1. Define two functions of x and y:\n"
        u"      F{x,y} = y\n"
        u"      H{x,y} = -x\n"
        u"2. Plot their direction field with 15 points per axis:\n"
        u"      PlotDirField[F, H, {-3,3,15}{-3,3,15}]\n"
        u"3. Optional: a colour code before \"]\": r, g, b (the default), w, B (black) or G "
        u"(grey):\n"
        u"      PlotDirField[F, H, {-3,3,15}{-3,3,15}r]\n"
        u"4. Optional: a third function G{x,y} after H lifts every arrow into 3-D to the height "
        u"G{x,y}; the z-range follows from the values of G:\n"
        u"      G{x,y} = x*y\n"
        u"      PlotDirField[F, H, G, {-3,3,15}{-3,3,15}]"},
       {u"PlotField3D Setup",
        u"1. Define three functions of x, y and z:\n"
        u"      F{x,y,z} = -y\n"
        u"      G{x,y,z} = x\n"
        u"      H{x,y,z} = 1\n"
        u"2. Plot the field with 7 points per axis:\n"
        u"      PlotField3D[F,G,H,{-3,3,7}{-3,3,7}{-3,3,7}]\n"
        u"3. A colour code may stand before \"]\" as above.\n"
        u"4. Press F5 or Execute, then Graph."},
       {}}},
     u"See Pages 21 && 22 in the document."},
    {u"XfrmSolution",
     u"Frame1",
     u"cmdHelpSol",
     u"Particular Solultions on Fields",
     u"cmdSolExit",
     u"",
     {{{u"Slope Field F'(x,y} Construction",
        u"1. Write the equation y' = F(x,y) as a function of x and y:\n"
        u"      F{x,y} = x - y\n"
        u"2. Plot its slope field for a <= x <= b with n points and c <= y <= d with m points:\n"
        u"      PlotSlopeField[F, {a,b,n}{c,d,m}]\n"
        u"      PlotSlopeField[F, {-3,3,12}{-2,2,8}]\n"
        u"3. Optional: a colour code before \"]\": r, g (the default), b, w, B (black) or G "
        u"(grey)."},
       {u"Add Particular Solutions to the Slope Field.",
        u"Add starting points after the ranges, up to ten and inside the ranges; a particular "
        u"solution is traced through each:\n"
        u"      PlotSlopeField[F, {a,b,n}{c,d,m} {x1,y1} {x2,y2} . . . ]\n"
        u"      PlotSlopeField[F, {-3,3,12}{-2,2,8} {0,1} {0,-1}]\n"
        u"Options: Computation > RK-4 Increment sets the step h of the solutions; Field "
        u"Graphics Options > Slope Fields traces them forward only or in both directions."},
       {}}},
     u"See Page 24 in the document."},
    {u"XfrmDeriv",
     u"Frame1",
     u"cmdHelpDeriv",
     u"Derivative",
     u"cmdDerivExit",
     u"",
     {{{u"Derivative of a Continuous Function",
        u"Define the function first, for example:\n"
        u"      F{x} = x^3\n"
        u"The first derivative with respect to x:\n"
        u"      D{x} = Diff[F,x]\n"
        u"The nth derivative, n from 1 to 9:\n"
        u"      D{x} = Diff[F,x,n]\n"
        u"for example the second derivative:\n"
        u"      D{x} = Diff[F,x,2]"},
       {u"Derivative of a Continuous Function at constant a",
        u"The first derivative evaluated at x = 3:\n"
        u"      D{x} = Diff[F,x | 3]\n"
        u"The nth derivative evaluated at x = a:\n"
        u"      D{x} = Diff[F,x, n | a]\n"
        u"The point is a number or a constant defined above, for example:\n"
        u"      a = 2\n"
        u"      D{x} = Diff[F,x, 2 | a]"},
       {}}},
     u"See Page 14 for details."},
    {u"XfrmContour",
     u"Frame1",
     u"cmdHelpContour",
     u"Contour Graphs",
     u"cmdContourExit",
     u"",
     {{{u"Plot a Contour -- Default Error (er) && Segment (sg) sizes",
        u"1. Define a function of x and y:\n"
        u"      F{x,y} = x^2 + y^2\n"
        u"2. Give the x range x0 to xf and the y range y0 to yf.\n"
        u"3. Give a starting point (xc, yc) inside the ranges.\n"
        u"4. Give the levels c1 to c2 in steps of ds:\n"
        u"      PlotContour[F,{x0,xf,y0,yf}{xc,yc}{c1,c2,ds}]\n"
        u"      PlotContour[F,{-3,3,-3,3}{1,1}{1,4,1}]\n"
        u"Without {er,sg} the error size er is 0.1 and the segment size sg is 0.2."},
       {u"Plot a Contour -- Error (er) && Segment (sg) sizes.",
        u"5. For finer curves add the error size er and the segment size sg:\n"
        u"      PlotContour[F,{x0,xf,y0,yf}{xc,yc}{c1,c2,ds}{er,sg}]\n"
        u"      PlotContour[F,{-3,3,-3,3}{1,1}{1,4,1}{0.05,0.1}]\n"
        u"PlotContour[ also starts from the mirror images of (xc, yc) in the other three "
        u"quadrants; PlotContour1[ takes the same form and starts from (xc, yc) only."},
       {}}},
     u"See Page 37 in the document."},
    {u"XfrmZero",
     u"Frame1",
     u"cmdHelpZero",
     u"F{x} = 0",
     u"cmdZeroExit",
     u"",
     {{{u"Zeros of F{x} = 0",
        u"1. Plot the function and read where its graph crosses the x axis.\n"
        u"2. Take two values r1 and r2 on either side of the crossing, where F has opposite "
        u"signs.\n"
        u"3. Find the root:\n"
        u"      Zero[F, {r1, r2, z1} to]\n"
        u"   z1 is the constant that receives the root; to is the tolerance, 0.00001 (also "
        u"when it is left out).\n"
        u"4. Include a parameter set <x = z1> when x is the independent variable: the results "
        u"then list F at the root. Check that it is close to zero.\n"
        u"Sample worksheet Root2.txt (save it once with File > Save As, load it with File > "
        u"Open):\n"
        u"      F{x} = x^2 - 2\n"
        u"      Zero[F, {1, 2, z1} 0.00001]\n"
        u"      <x = z1>"},
       {},
       {}}},
     u"See Page 9 in the document."},
    {u"XfrmComments",
     u"Frame1",
     u"cmdHelpComments",
     u"Comment Fields",
     u"cmdCommentsExit",
     u"Comments Field Processing",
     {{{u"",
        u"A ' starts a comment: the rest of the line is not read as a statement.\n"
        u"A comment can put a text and a computed value on the graph:\n"
        u"The text alone:\n"
        u"      '@ any text . . . @ !\n"
        u"The text followed by the value of cx:\n"
        u"      '@ any text . . . @cx !\n"
        u"The text, the value of cx and more text:\n"
        u"      '@ any text . . . @cx,more text !\n"
        u"No spacing between the symbols: '@ begins the text, and the constant ID follows the "
        u"second @ at once.\n"
        u"The ! keeps the comment line itself off the graph's listing of the worksheet.\n"
        u"For example, below m = 10:\n"
        u"      '@Mass = @m, kg !"},
       {},
       {}}},
     u"See Page 9 in the documents."},
    {u"Xfrm1DEQ",
     u"Frame2",
     u"cmdHelp1DEQ",
     u"1st Order",
     u"cmd1DEQexit",
     u"",
     {{{u"1st Order DEQ -- IVP",
        u"1. Write x' = F(t,x) as a function whose first parameter t is the independent "
        u"variable:\n"
        u"      F{t,x} = -2t*x\n"
        u"2. Solve from t0 to tf, with x0 = X{t0}:\n"
        u"      IVP[F, {t0, tf, x0} {factor, tol}]\n"
        u"   factor: 1 plots every computed point.\n"
        u"   tol: the error tolerance; take 0.001 for a first trial.\n"
        u"      IVP[F, {0, 2, 1} {1, 0.001}]\n"
        u"3. Press F5 or Execute, then Graph."},
       {},
       {}}},
     u"See Pages 43-44 in the document."},
    {u"Xfrm2DEQ",
     u"Frame2",
     u"cmdHelp2DEQ",
     u"2nd Order",
     u"cmd2DEQexit",
     u"",
     {{{u"2nd Order DEQ -- IVP",
        u"1. Rewrite x'' = f(t, x, x') as two first-order equations with y = x' (here x'' = "
        u"-x):\n"
        u"      F{t,x,y} = y\n"
        u"      G{t,x,y} = -x\n"
        u"2. Solve from t0 to tf, with x0 = X{t0} and y0 = X'{t0}:\n"
        u"      IVP[F, G, {t0, tf, x0, y0} {factor, tol, mode}]\n"
        u"   mode 1: x and x' of the 2nd order equation; mode 2: the system X' = F, Y' = G.\n"
        u"      IVP[F, G, {0, 10, 1, 0} {1, 0.001, 1}]\n"
        u"3. Press F5 or Execute, then Graph."},
       {},
       {}}},
     u"See Page 46 in the document."},
    {u"Xfrm3DEQ",
     u"Frame2",
     u"cmdHelp3DEQ",
     u"3rd Order",
     u"cmd3DEQexit",
     u"",
     {{{u"3rd Order DEQ -- IVP",
        u"1. Rewrite x''' = f(t, x, x', x'') as three first-order equations with y = x' and z "
        u"= x'' (here x''' = -x):\n"
        u"      F{t,x,y,z} = y\n"
        u"      G{t,x,y,z} = z\n"
        u"      H{t,x,y,z} = -x\n"
        u"2. Solve from t0 to tf, with the initial values x0, y0 and z0:\n"
        u"      IVP[F, G, H, {t0, tf, x0, y0, z0} {factor, tol, mode}]\n"
        u"   mode 1: x, x' and x'' of the 3rd order equation; mode 2: the system X' = F, Y' = "
        u"G, Z' = H.\n"
        u"      IVP[F, G, H, {0, 5, 1, 0, 0} {1, 0.001, 1}]\n"
        u"3. Press F5 or Execute, then Graph."},
       {},
       {}}},
     u"See Page 54 in the document."},
    {u"Xfrm4DEQ",
     u"Frame2",
     u"cmdHelp4DEQ",
     u"4th Order",
     u"cmd4DEQexit",
     u"",
     {{{u"4th Order DEQ -- IVP",
        u"1. Rewrite the equation as four first-order equations in x, y, z and w (here x'''' "
        u"= -x):\n"
        u"      F{t,x,y,z,w} = y\n"
        u"      G{t,x,y,z,w} = z\n"
        u"      H{t,x,y,z,w} = w\n"
        u"      R{t,x,y,z,w} = -x\n"
        u"2. Solve from t0 to tf, with the initial values x0, y0, z0 and w0:\n"
        u"      IVP[F, G, H, R, {t0, tf, x0, y0, z0, w0} {factor, tol, mode}]\n"
        u"   mode 1: x and its first three derivatives; mode 2: two 2nd order equations in x "
        u"and y (x, x', y, y'); mode 3: the system X', Y', Z', W'.\n"
        u"      IVP[F, G, H, R, {0, 5, 1, 0, 0, 0} {1, 0.001, 1}]\n"
        u"3. Press F5 or Execute, then Graph."},
       {},
       {}}},
     u"See Page 56 in the document."},
    {u"Xfrm1BVP",
     u"Frame4",
     u"cmdHelp1BVP",
     u"Merhod 1",
     u"cmd1BVPexit",
     u"",
     {{{u"BVP -- Method 1",
        u"1. Write the 2nd order equation as two first-order functions with y = x' (here x'' = "
        u"-x):\n"
        u"      F{t,x,y} = y\n"
        u"      G{t,x,y} = -x\n"
        u"2. Give the boundaries (t0, x0) and (tb, xb): x = x0 at t0 and x = xb at tb, with tb "
        u"> t0.\n"
        u"3. Solve with n data points:\n"
        u"      BVP[F, G, {t0, x0, tb, xb, n}]\n"
        u"      BVP[F, G, {0, 0, 1.5, 1, 20}]\n"
        u"Method 1 (linear shooting) suits linear equations such as this one.\n"
        u"4. Press F5 or Execute, then Graph."},
       {},
       {}}},
     u"See Pages 48-49 in the document."},
    {u"Xfrm2BVP",
     u"Frame4",
     u"cmdHelp2BVP",
     u"Method 2",
     u"cmd2BVPexit",
     u"",
     {{{u"BVP -- Method 2a",
        u"F and G as in Method 1; a1 and a2 are two estimates of the slope x' at t0:\n"
        u"      BVP[F, G, {t0, x0,tb, xb} {a1,a2} {factor, tol, mode}]\n"
        u"   mode 0: one solution, by shooting from a1 and a2.\n"
        u"   mode n: a family of n curves with slopes from a1 to a2 (n at most 10).\n"
        u"   mode -n: the same n slopes, plotted to locate the roots.\n"
        u"   tol: 0.00001 or more.\n"
        u"      BVP[F, G, {0, 0, 1.5, 1} {0, 2} {1, 0.001, 0}]"},
       {u"BVP -- Method 2b",
        u"Chosen initial slopes, separated by \";\" (up to ten):\n"
        u"      BVP[F, G, {t0,x0,tb,xb}{a1; a2; a3;...}{factor, tol, mode}]\n"
        u"   A positive mode draws one curve per slope, a negative mode locates the roots.\n"
        u"      BVP[F, G, {0,0,1.5,1}{0; 0.5; 1; 1.5}{1, 0.001, 4}]"},
       {}}},
     u"See Pages 50-53 in the document."},
    {u"XfrmInteg",
     u"Frame5",
     u"cmdHelpInteg",
     u"Single Integration",
     u"cmdIntegExit",
     u"",
     {{{u"Single Integration",
        u"      constant ID = Integ[F, {a,b,n,marker}]\n"
        u"1. Define the function of one variable:\n"
        u"      F{x} = x^2\n"
        u"2. a, b: the limits of integration.\n"
        u"3. n: the number of equal panels (at most 1000).\n"
        u"4. marker: 0 for none, 2 for a marker every second panel.\n"
        u"The integral is stored in the constant on the left; Graph draws the running "
        u"integral:\n"
        u"      s = Integ[F, {0, 3, 30, 0}]"},
       {},
       {}}},
     u"See Page 60 in the document."},
    {u"XfrmDblInt",
     u"Frame5",
     u"cmdHelpDblInt",
     u"Double Integration",
     u"cmdDblIntExit",
     u"",
     {{{u"Double Integraton",
        u"Integrate with respect to y first:\n"
        u"      constant ID = dblInt[F,C,D,{a,b,n,m,y}]\n"
        u"Integrate with respect to x first:\n"
        u"      constant ID = dblInt[F,C,D,{a,b,n,m,x}]\n"
        u"1. Define the integrand:\n"
        u"      F{x,y} = x*y\n"
        u"2. Define the inner limits C and D as functions of one variable (of x for the y-first "
        u"form, of y for the x-first form):\n"
        u"      C{x} = 0\n"
        u"      D{x} = x\n"
        u"3. a, b: the constant outer limits.\n"
        u"4. n, m: the numbers of panels along x and y. Try n = m = 10.\n"
        u"      v = dblInt[F,C,D,{0,1,10,10,y}]"},
       {},
       {}}},
     u"See Page 62 in the document"},
}};

const std::array<PageReferenceCategory, kCategoryCount> kCategories = {{
    {u"Command1",
     u"Vectors",
     u"Vectors",
     {u"Format---4,74", u"2D/3D ---4", u"Functions in---4,74", u"Math---16,17,75",
      u"Components of---17,75", u"vDiff[ format---16,66,67", u"Type Mismatch---4,67"}},
    {u"Command2",
     u"Error Controls",
     u"Error Controls",
     {u"In Contour---37", u"DEQ (ivp)---see Factor", u"ER---70", u"SG---70", u"Particular---24,25",
      u"Vertices Count---39,69", u"Factor,Tol---43,44,46,54,46"}},
    {u"Command3",
     u"Display Options",
     u"Display Options",
     {u"Numerical---64", u"Markers---5,13", u"Text in Graphics---9", u"Legends---65",
      u"Computed Values---9", u"Plot Colors---65", u""}},
    {u"Command4",
     u"Syntax Options",
     u"Syntax Options",
     {u"* (multiply)---3", u"Built-in---2,74", u"Case sensitive---3", u"Numeric Formats---64",
      u"Parameters===74", u"", u""}},
    {u"Command5",
     u"Illegal Syntax",
     u"Illegal Syntax",
     {u"Constants---1", u"Functions---2", u"Parameters---2,74", u"Numeric Formats---1,64",
      u"<x = constant>---2,64", u"Math Operations---64", u"Type mismatch---4,67"}},
    {u"Command6",
     u"Illegal Syntax Vectors",
     u"Illegal Syntax (Vectors)",
     {u"ID header---4", u"Math---16,18,64,74", u"Component---17,67", u"math---16,17,67",
      u"Case sensitive---16,", u"Functions within---4,74", u"Formats---66,67"}},
}};

// Every complete statement the pages show, with the definitions it needs. Templates with
// placeholders (t0, tf, a1 ...) are not statements and are left out.
const HelpExample kExamples[] = {
    {kConst, u"", u"pi = 3.14159"},
    {kConst, u"", u"m = 10"},
    {kConst, u"pi = 3.14159\r\nm = 10\r\n", u"k2 = 2pi*m"},
    {kFunc, u"", u"F{t} = 1/t"},
    {kFunc, u"pi = 3.14159\r\n", u"Fb{x} = Sin[3pi*x]"},
    {kFunc, u"", u"G{x} = x^2 + 2x - 1"},
    {kFunc, u"", u"F{x} = x^2"},
    {kFunc, u"F{x} = x^2\r\n", u"H{x} = 3F{x} + 1"},
    {kFunc, u"F{x} = x^2\r\nH{x} = 3F{x} + 1\r\n", u"<x = 2>"},
    {kGroup, u"", u"a = 2(3 + 4)"},
    {kPlot, u"", u"F{x} = x^2 - 1"},
    {kPlot, u"F{x} = x^2 - 1\r\n", u"A<x> = <x, F, 0>"},
    {kPlot, u"F{x} = x^2 - 1\r\nA<x> = <x, F, 0>\r\n", u"Plot[A,{x,-3,3,100}]"},
    {kField, u"", u"F{x,y} = y"},
    {kField, u"", u"H{x,y} = -x"},
    {kField, u"F{x,y} = y\r\nH{x,y} = -x\r\n", u"PlotDirField[F, H, {-3,3,15}{-3,3,15}]"},
    {kField, u"F{x,y} = y\r\nH{x,y} = -x\r\n", u"PlotDirField[F, H, {-3,3,15}{-3,3,15}r]"},
    {kField, u"", u"G{x,y} = x*y"},
    {kField, u"F{x,y} = y\r\nH{x,y} = -x\r\nG{x,y} = x*y\r\n",
     u"PlotDirField[F, H, G, {-3,3,15}{-3,3,15}]"},
    {kField, u"", u"F{x,y,z} = -y"},
    {kField, u"", u"G{x,y,z} = x"},
    {kField, u"", u"H{x,y,z} = 1"},
    {kField, u"F{x,y,z} = -y\r\nG{x,y,z} = x\r\nH{x,y,z} = 1\r\n",
     u"PlotField3D[F,G,H,{-3,3,7}{-3,3,7}{-3,3,7}]"},
    {kSolution, u"", u"F{x,y} = x - y"},
    {kSolution, u"F{x,y} = x - y\r\n", u"PlotSlopeField[F, {-3,3,12}{-2,2,8}]"},
    {kSolution, u"F{x,y} = x - y\r\n", u"PlotSlopeField[F, {-3,3,12}{-2,2,8} {0,1} {0,-1}]"},
    {kDeriv, u"", u"F{x} = x^3"},
    {kDeriv, u"F{x} = x^3\r\n", u"D{x} = Diff[F,x]"},
    {kDeriv, u"F{x} = x^3\r\n", u"D{x} = Diff[F,x,2]"},
    {kDeriv, u"F{x} = x^3\r\n", u"D{x} = Diff[F,x | 3]"},
    {kDeriv, u"", u"a = 2"},
    {kDeriv, u"F{x} = x^3\r\na = 2\r\n", u"D{x} = Diff[F,x, 2 | a]"},
    {kContour, u"", u"F{x,y} = x^2 + y^2"},
    {kContour, u"F{x,y} = x^2 + y^2\r\n", u"PlotContour[F,{-3,3,-3,3}{1,1}{1,4,1}]"},
    {kContour, u"F{x,y} = x^2 + y^2\r\n", u"PlotContour[F,{-3,3,-3,3}{1,1}{1,4,1}{0.05,0.1}]"},
    {kZero, u"", u"F{x} = x^2 - 2"},
    {kZero, u"F{x} = x^2 - 2\r\n", u"Zero[F, {1, 2, z1} 0.00001]"},
    {kZero, u"F{x} = x^2 - 2\r\nZero[F, {1, 2, z1} 0.00001]\r\n", u"<x = z1>"},
    {kComments, u"m = 10\r\n", u"'@Mass = @m, kg !"},
    {k1DEQ, u"", u"F{t,x} = -2t*x"},
    {k1DEQ, u"F{t,x} = -2t*x\r\n", u"IVP[F, {0, 2, 1} {1, 0.001}]"},
    {k2DEQ, u"", u"F{t,x,y} = y"},
    {k2DEQ, u"", u"G{t,x,y} = -x"},
    {k2DEQ, u"F{t,x,y} = y\r\nG{t,x,y} = -x\r\n", u"IVP[F, G, {0, 10, 1, 0} {1, 0.001, 1}]"},
    {k3DEQ, u"", u"F{t,x,y,z} = y"},
    {k3DEQ, u"", u"G{t,x,y,z} = z"},
    {k3DEQ, u"", u"H{t,x,y,z} = -x"},
    {k3DEQ, u"F{t,x,y,z} = y\r\nG{t,x,y,z} = z\r\nH{t,x,y,z} = -x\r\n",
     u"IVP[F, G, H, {0, 5, 1, 0, 0} {1, 0.001, 1}]"},
    {k4DEQ, u"", u"F{t,x,y,z,w} = y"},
    {k4DEQ, u"", u"G{t,x,y,z,w} = z"},
    {k4DEQ, u"", u"H{t,x,y,z,w} = w"},
    {k4DEQ, u"", u"R{t,x,y,z,w} = -x"},
    {k4DEQ, u"F{t,x,y,z,w} = y\r\nG{t,x,y,z,w} = z\r\nH{t,x,y,z,w} = w\r\nR{t,x,y,z,w} = -x\r\n",
     u"IVP[F, G, H, R, {0, 5, 1, 0, 0, 0} {1, 0.001, 1}]"},
    {k1BVP, u"", u"F{t,x,y} = y"},
    {k1BVP, u"", u"G{t,x,y} = -x"},
    {k1BVP, u"F{t,x,y} = y\r\nG{t,x,y} = -x\r\n", u"BVP[F, G, {0, 0, 1.5, 1, 20}]"},
    {k2BVP, u"F{t,x,y} = y\r\nG{t,x,y} = -x\r\n",
     u"BVP[F, G, {0, 0, 1.5, 1} {0, 2} {1, 0.001, 0}]"},
    {k2BVP, u"F{t,x,y} = y\r\nG{t,x,y} = -x\r\n",
     u"BVP[F, G, {0,0,1.5,1}{0; 0.5; 1; 1.5}{1, 0.001, 4}]"},
    {kInteg, u"", u"F{x} = x^2"},
    {kInteg, u"F{x} = x^2\r\n", u"s = Integ[F, {0, 3, 30, 0}]"},
    {kDblInt, u"", u"F{x,y} = x*y"},
    {kDblInt, u"", u"C{x} = 0"},
    {kDblInt, u"", u"D{x} = x"},
    {kDblInt, u"F{x,y} = x*y\r\nC{x} = 0\r\nD{x} = x\r\n", u"v = dblInt[F,C,D,{0,1,10,10,y}]"},
};

// About window: what is new in this version, the copying terms, the disclaimer, and where the
// rest of the documentation is.
const std::array<std::u16string_view, 4> kAbout = {
    u"This version of MathSheet lets you add arrow heads to vectors: after the range of a Plot[ "
    u"command write one letter a for each curve that should end in an arrow, as in "
    u"Plot[A,B,{t,0,1,100}aa]. The supplement to the Tourbook tutorial explains it with "
    u"examples.",
    u"MathSheet may be copied and passed on freely for personal and teaching use, as long as it "
    u"is passed on whole, unchanged and free of charge.",
    u"MathSheet comes as it is, without any warranty. If it gives you a wrong result or trouble "
    u"of any kind, or if you miss a feature, please tell the MathSheet authors: every report "
    u"helps the next version.",
    u"MathSheet was previewed independently before its release. Its documentation is the "
    u"separate Tourbook tutorial and the pop-up help screens of the Help menu.",
};

}  // namespace

const std::array<HelpPageText, kHelpPageCount>& HelpPages() {
  return kPages;
}

const std::array<PageReferenceCategory, kCategoryCount>& PageReferenceCategories() {
  return kCategories;
}

std::span<const HelpExample> HelpExamples() {
  return kExamples;
}

const std::array<std::u16string_view, 4>& AboutParagraphs() {
  return kAbout;
}

std::u16string LabelText(std::u16string_view stored) {
  std::u16string shown;
  shown.reserve(stored.size());
  for (size_t i = 0; i < stored.size(); ++i) {
    shown += stored[i];
    if (stored[i] == u'&' && i + 1 < stored.size() && stored[i + 1] == u'&') ++i;
  }
  return shown;
}

}  // namespace ms::help
