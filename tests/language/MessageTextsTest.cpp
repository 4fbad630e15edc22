// Every message text the user can read, word for word: the catalogue as the message list gives it
// (typos and blanks included), the messages this program adds of its own, and the fallback text of
// every other number. A text is checked against the list written here, never against the
// catalogue itself, so one changed word in any text fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "language/Messages.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

using MessageTextsTest = LanguageTest;

// The message list: every number with its text, lines joined by CR LF. 229 shows its text in a
// box of its own and reads as "".
const MessageEntry kListed[] = {
    {-1, u"Check for undefined constant ID or missing parameter definition."},
    {1, u"Cannot have an underscore, _, in statement."},
    {2, u"An unknown double symbol other than the comment (') symbol detected."},
    {10, u"No plot vectors setup. See Sample Files."},
    {11, u"Error in GraphSetup routine."},
    {12, u"Vector function from ID vector list not found or predefined."},
    {13, u"Requested function from ID vector not found or predefined."},
    {14, u"Parameters Format Examples: < t = 2.5>; or <t = 3;u = ax; r = -2>, etc."},
    {15, u"Reference to requested constant not predefined in parameter setup."},
    {19, u"Check Diff[ expression."},
    {53, u"Expression not found in Pulse[<expression>,width]"},
    {54, u"No constant found"},
    {55, u"Cannot have a negative width."},
    {56, u"Error: Label for constant not defined."},
    {57, u"No ID found for the function, oheck reference prior to definition."},
    {63, u"Digit required after <+ -> following <e|E> exponent."},
    {64, u"A digit must follow the optional <+ ->sign of an exponent."},
    {102, u"Parameter variable not found."},
    {103, u"Recursion detected. A function cannot be defined in terms of itself."},
    {120, u"Comma expected after function ID in Diff[ operation."},
    {121, u"A '}' ',', or expected after the differential variable."},
    {122, u"Function to be differentiated not previously defined."},
    {123, u"Numerical value following '|' in Diff[ not recognized."},
    {124, u"Nth derivative option must be an integer < 10."},
    {125, u"Overflow in Diff[ operation; expression length > 32,000 characters."},
    {200, u"Input expression not classified as a constant, function,parameter, of vector."},
    {201, u"Input incomplete--only one or two symbols selected in constant ID."},
    {202, u"Equal sign missing on constant ID or upper-case letter detected?"},
    {203, u"Constant ID must begin with a lower-case letter."},
    {204, u"Function ID must begin with an upper-case letter."},
    {205, u"A '{' is located in a constant ID header. If a function, first symbol: Upper-case."},
    {206,
     u"An '=' symbol must follow the constant identifier (1/2 lower-case letter(s)."
     u"\r\n"
     u"Check proper upper-lower spelling. Check for three symbols in identifier."},
    {207, u"Check 2nd symbol constant ID: a lower-case letter or an '=' symbol."},
    {208, u"Parameter lower-case letter not found following '<' in parameter format."},
    {209, u"The '=' assignment symbol not found."},
    {210, u"Input expression not classified as a constant, function,parameter, of vector."},
    {211, u"Missing '{'on function ID."},
    {212, u"Lower case parameter missing on function definition."},
    {213, u"Missing '=' symbol on double-parameter function definition."},
    {214, u"Missing second parameter-definition on a 2-parameter function."},
    {215, u"Missing closing '}' or '=' on 2-parameter function definition."},
    {216, u"Missing closing '}' or '=' on 3-parameter function definition."},
    {217, u"A '}' or ',' must follow a parameter function definition."},
    {218, u"Check syntax for 1, 2, or 3-parameter function, or an isolated symbol."},
    {219, u"Check syntax for 2- or 3-parameter function."},
    {220, u"A + symbol after '=' is a 'unary' plus. Delete it."},
    {221,
     u"An unrecognized symbol follows the '=' for this constant, or a type mismatch."
     u"\r\n"
     u"The constant ID = ?  where '?' may have an upper-case letter like 'sP...' ,"},
    {222, u"An unrecognized symbol follows the '=' for this function, or a type mismatch."},
    {224, u"Improper ID: Ex. is aV without '[' detected."},
    {225, u"Vector ID must begin with an upper-case letter."},
    {226, u"Vector ID missing '<' after identification."},
    {227,
     u"In vector, use 'E' rather than 'e' for exponent; or, missing an operator prior to 'e' "
     u"symbol."},
    {228,
     u"Unknown error in header. If constant ID, only up to two lower-case letters, or the 2nd "
     u"symbol a double digit."
     u"\r\n"
     u"If a function parameter, only one lower-case letter allowed."},
    {229, u""},
    {231, u"Parameter missing in vector definition. Example: A<t> or Bc<t>."},
    {232, u"Format '>=' missing following vector identifier."},
    {233,
     u"Upper case [A-Z] identifier or expression expected in 1st symbol of vector definition."},
    {234, u"Missing ',' in vector expression."},
    {235, u"Expected '>' after 3rd function ID or expression in vector definition."},
    {236, u"Unexpected symbols found on vector statement after its definition."},
    {238, u"Vector components are .x , .y , or .z to identify which component."},
    {240, u"Parameter definition too short--check for missing character or digit."},
    {241, u"Missing double lower-case letter for parameter ID."},
    {242, u"The '=' symbol missing on parameter definition."},
    {243, u"A closing '>' or ',' expected."},
    {244, u" Check for improper assignment to a parameter variable: number or const. ID."},
    {245, u" A ',' expected if a closing '>' not found for an optional 2nd parameter definition."},
    {260, u"More closing ')' prior to '( 'to balance ( )'s in an expression."},
    {261, u"More closing ']' prior to '[ 'to balance [ ]'s in an expression."},
    {262,
     u"More closing '}' prior to '{' to balance { }'s or [ ]'s in a Built-in Function--or an "
     u"expression."},
    {263, u"Parentheses ( )'s not balanced in an expression."},
    {264, u"Brackets [ ]'s not balanced in an expression or if balanced, misplaced."},
    {265, u"Braces { }'s not balanced in an expression."},
    {266, u"Built-in function not recognized. Check for lack of upper-case name."},
    {267, u"User-defined function ID: Check for '[','(', or digit prior to '{'."},
    {268, u"Built-in functions use brackets [...] to enclose its parameters."},
    {269, u"More closing '>' prior to '< ' to balance < >'s in an expression."},
    {270, u"Vectors < >'s not  balanced in an expression."},
    {271, u"On a function constant, a ',' or '}' expected: Ex. Fc{1.35... then ',' or '}'."},
    {272, u"End of statement in function constant without expected ',' or '}' found."},
    {273, u"Check number format in function parameter replacement."},
    {275, u"Improper closure. Ex. (..[...) , [..(....] , {..(..}, etc."},
    {280, u"Check for spelling of 'Zero[' -- note upper-case 'Z' in spelling."},
    {281, u"Check for missing information in the 'Zero[ format."},
    {282, u"Missing ',' in 'Zero[' format."},
    {283, u"Missing '{' in 'Zero[' format."},
    {284, u"Constant ID in 'Zero[' must start with a lower-case letter."},
    {285, u"Missing '}' in 'Zero[' format."},
    {286, u"Missing ']' in 'Zero[' format."},
    {287, u"Bracket values must evaluate the function to opposite sign values."},
    {288,
     u"Unable to find the zero of the function. Check by plotting the function for new bracket "
     u"values."},
    {302, u"Comma detected in constant number."},
    {303, u"Unknown expression following '=' symbol."},
    {304, u"The '=' sign must follow a constant identifier."},
    {305, u"One or two-parameters in function definition not format correctly."},
    {306, u"Check parameter format in vector function."},
    {307, u"'{' or '<' (function or vector identifier) not found."},
    {308, u"First symbol not a constant or function label."},
    {309, u"Vector format: <...> enclosure required."},
    {310, u"One or more vector components--.vX,.vY,.vZ--missing or comma error."},
    {311, u"On 'Plot[', check for any symbols beyond ']'."},
    {312,
     u"Parameters formatted incorrectly: ie--<t = 4.5>, or <t = 4.5 ; u = ax>."
     u"\r\n"
     u"Only numbers and predefined constants (no expressions) allowed in parameter assignment."},
    {313,
     u"Improper Function identifier or constant identifier syntax. Check for back-to-back ',,'"},
    {314, u"Incomplete constant definition. Check for back-to-back ',,'."},
    {315, u"Example: Plot[Ac, Fc, H, ..., {<parm,const1,const2,points}]"},
    {316,
     u"Component vector requested within <....> vector. Check component ID = .x, .y, or .z or its "
     u"function not located."},
    {320, u"Check format for function constant: ie--m = Ac{ax}, mx = F{k}, etc."},
    {321, u"Two-parameter function ID format: ie--F{u,v}, Ax{t,r}, etc."},
    {325, u"Vector ID not found or predefined before it is referenced."},
    {326, u"Constant ID not found or predefined before it is referenced."},
    {327,
     u"Check illegal operations such as an extra vector rather than a scalar expected."
     u"\r\n"
     u"Also, check that the vector math operation does not reference a function rather "
     u"\r\n"
     u"than another vector."},
    {328,
     u"Check illegal operations such as an extra scalar rather than a vector expected."
     u"\r\n"
     u" Using the same name ID for both a vector and a function? See Ch. V for notes."},
    {330, u"A double lower-case parameter variable must follow the '{' in Plot[."},
    {331, u"Comma expected--check for missing component in Plot[."},
    {332, u"Check t-max identifier--may not have a reference."},
    {333, u"Unexpected end of Plot command. Check for ending symbol such as a ',', '}', etc."},
    {334, u"Closing '}' expected on Plot[ syntax."},
    {335, u"Closing ']' expected on Plot[ syntax."},
    {336, u"Number of data points to plot must be a positive value."},
    {337, u"Range must be a positive value: a number or by a predefined constant."},
    {338, u"The maximum value > minimum value when using the Plot[ syntax."},
    {339, u"One of the range ID in Plot[ or Zero[ is missing or not a predefined constant ID."},
    {358,
     u"Plot[ incorrect format, or function Id yet referenced on worksheet. Check for back-to-back "
     u"',,'"},
    {359, u"Check initial & final plot values, and number of points syntax."},
    {365, u"A '{' missing from a vector component statement."},
    {366, u"Parameter missing from function ID: Ex. Fc{parameter} = A.x"},
    {367, u"Vector component ID< 'x', is one character."},
    {368, u"Optional constant in vector component not found after '.' or '|' symbol."},
    {369, u"Vector component ID, 'y', is one character."},
    {370, u"Vector component ID, 'z', is one character."},
    {371, u"On a function constant, a ',' or '}' expected: Ex. Fc{1.34...then ',' or '}'"},
    {372, u"Cannot locate constant in vector component statement."},
    {373, u"No constants defined in worksheet."},
    {374, u"Vector component is a double lower-case letter: x, y, or z. Ex: Ha.y"},
    {375, u"Numerical value on vector component not recognized."},
    {376, u"Component not in a constant or numeric format."},
    {377, u"Constant identifier nonexistent or predefined before its reference."},
    {378, u"In vDiff[, only a 1-9 digit is allowed--no parameter or constant IDs."},
    {400, u"Check last symbol in statement or illegal format. Ex: Use vector format or math."},
    {401, u"Cannot have an '=' symbol in an function expression."},
    {402, u"Unknown character(s) detected in a function."},
    {403, u"Only a-z A-Z PRIOR to '{' usage."},
    {404, u"A vector ('<' symbol detected) not allowed in a function statement."},
    {405, u"Illegal function name: use upper-case,F{t}, for example, NOT f{t}."},
    {410, u" Check for more than one '=' symbol in the statement."},
    {412,
     u" Comma detected in built-in function or within the expression itself."
     u"\r\n"
     u" Possible unknown ...[ operation. Check vector <....> expression."},
    {418, u"Comma not allowed in a number."},
    {419, u"Use 'E' rather than 'e' for exponent notation with numbers."},
    {420, u"Digits missing after optional exponent."},
    {421, u"Decimal points not allowed in exponent part of number."},
    {422, u"At least one digit required after exponent sign."},
    {423, u"Symbol past exponent sign not numeric integer."},
    {424, u"Exponent cannot have 3-digits (for now)."},
    {425, u"{}'s not balanced or properly matched."},
    {426, u"[]'s not balanced or properly matched."},
    {427, u"Empty '<>' found."},
    {428, u"Empty '()' found."},
    {429, u"Empty '[]' found."},
    {430, u"Empty '{}' found."},
    {431, u"Illegal Construct: [[--Check built-in function syntax."},
    {432, u"Illegal Construct: {{--Check user-defined function syntax."},
    {433, u"The function or expression cannot end with an operator."},
    {434, u"Symbol not recognized."},
    {435, u"A double operator detected. Ex. For 3^-2, use 3^(-2). For 5*-7, use 5*(-7)."},
    {436, u"Double decimal located in a number."},
    {437, u"Isolated decimal point in a statement."},
    {438,
     u"Decimal point not connected with a number or followed by an operator."
     u"\r\n"
     u"Possible vector component (x,y,z) error. Check for decimal in function parameter."},
    {439, u"Only { [ ( + - * / ^ | < PRIOR to '(' usage."},
    {440, u"Only 0-9. a-z or ] } PRIOR to ')' usage."},
    {441, u"Only 0-9. a-z or } ] PRIOR to ']' usage."},
    {442, u"Only A-Z or a-z  PRIOR to '{' usage."},
    {443, u"Only 0-9. a-z ) ] } PRIOR to '}' usage."},
    {444, u"Only 0-9. a-z A-Z ( - AFTER '(' usage."},
    {445, u"Only ) + - * / ^ ] } > AFTER ')' usage."},
    {446, u"Only 0-9 ( + - a-z A-Z AFTER '[' usage."},
    {447, u"Only + - * / ^ ) ] } > AFTER ']' usage."},
    {448, u"Only 0-9 a-z A-Z + - ( AFTER '{' usage."},
    {449, u"Only ) + - * / ^ } ],> AFTER '}' usage."},
    {450,
     u"Only built-in functions prior to '[' symbol accepted."
     u"\r\n"
     u"Check proper upper-lower case spelling."},
    {451, u"Syntax error. Unrecognized grouping of symbols. Spelling error of Built-in function?"},
    {455, u"Only {[(a-z A-Z + */^ | PRIOR to 'a to x' usage. Use 'E', not 'e' for exponent."},
    {456, u"Only {[( +-*/^ < , PRIOR to 'A to Z' usage."},
    {457, u"Only {[( 0-9. E | < PRIOR to '0 to 9' usage."},
    {458, u"Only {[( +-*/^ 0-9 | PRIOR to '.' usage."},
    {459, u"Only }]) 0-9 a-z PRIOR to ',' usage."},
    {460, u"Only 0-9 a-z PRIOR to '|' usage."},
    {461, u"Only a-z A-Z PRIOR to '<' usage."},
    {462, u"Only }]) 0-9. a-z A-Z PRIOR to '>' usage."},
    {465, u"Only { } [ ] ) a-z 0-9 +-*/^ < > AFTER 'a to z' usage."},
    {466, u"Only a-z SCT AFTER 'A to Z' usage for ASin, ACos, & ATan."},
    {467, u"Only }]) 0-9. +-*/^ E > AFTER '0-9' usage."},
    {468, u"Only }]) 0-9 +-*/^ > E  AFTER '.' usage."},
    {469, u"Only ( 0-9 a-z A-Z +- AFTER ',' usage. Check for back-to-back ',,'"},
    {470, u"Only a-z 0-9. + - AFTER '|' usage."},
    {471, u"Only a-z 0-9 +- AFTER exponent 'E' usage."},
    {472, u"Only (a-z A-Z 0-9. AFTER '<' usage."},
    {473, u"Only '=' AFTER '>' usage or check for 'e' instead of 'E' for exponent."},
    {474, u"Only {[( +-*/^ 0-9. PRIOR to 'E' usage."},
    {475, u" Only ( 0-9 a-z A-D F-Z .+- other built-in functions AFTER a built-in function."},
    {476, u"Only ( 0-9 a-z A-D F-Z . & built-in functions AFTER +-*/^  op codes."},
    {477, u"Only ( 0-9 a-z A-D F-Z . + - & built-in functions AFTER '<'."},
    {478, u"An operator detected at the end of a statement."},
    {479, u"An unknown symbol in front of a vector or vMath definition, or a type mismatch."},
    {501, u"Constants cannot reference non-predefined constants."},
    {502, u"Requested function not found or predefined."},
    {503, u"Comma detected in expression. Check Diff[ & vector expressions."},
    {504, u"A '{' expected."},
    {505, u"Could not locate predefined constant to evaluate."},
    {506, u"At least one digit required following '+' or '-' in exponent."},
    {510,
     u"Stack memory for functions (generated by nested vector expressions) exceeds"
     u"\r\n"
     u"1000 references. If this msg occurs, please email me a sample of a worksheet"
     u"\r\n"
     u"for analysis. I could not generate this error, though I allow detection of it."},
    {530, u"Comma expected after function ID in Diff[."},
    {531, u"Parameter variable (lower-case) not found."},
    {532, u"A '}' or ']' or '|' expected after differential variable."},
    {533, u"Nth derivative value not numeric integer."},
    {534, u" Range error for nth derivative: One through 9 digit accepted."},
    {535, u"Unexpected end of 'Diff[' -- no closing ']' located."},
    {536, u"Check Diff[ expression for invalid or missing number."},
    {537, u"Overflow--Diff[ operation expression length exceeds 32,000 characters."},
    {540, u"Format Error: vDiff[A] or vDiff[Bc,3] using vectors A & Bc as examples."},
    {600, u"An '=' symbol not found in macro definition."},
    {601, u"Bracket '[' missing in macro definition."},
    {602, u"Closing ']' missing in Macro or parameter count > 3 in definition."},
    {603,
     u"CAUTION: A negative number to a fractional power may not be a real number."
     u"\r\n"
     u"Or, the size of the power exceeds the range of computation."},
    {604, u"Unknown parameter in header or expression. Missing a comma between two symbols?"},
    {605, u"User-defined macro in statement not identified in vMacro. Check for spelling errors."},
    {606, u"Error in vMacro[ setup. Leading operator should be built-in vector operator."},
    {610, u"A negative value was determined under a square root operation."},
    {620, u"Missing 'v' in macro definition: Ex. vTally[... not Tally["},
    {625, u"Upper-case letter must follow 'v' in macro definition: Ex. vTally[... not vtally["},
    {630,
     u"Component Vector assigned to a constant? Use Function header, or, assign (using a'|' and a "
     u"value or constant."},
    {635, u"Macro definition has more closing ']' prior to '[' to balanced [ ]'s."},
    {640, u"Macro definition brackets, '[' & ']' not balanced."},
    {642, u"No parameters detected using # $ & @ % ! ? ~ symbols in the header."},
    {643, u"Symbol '#' in assignment not referenced in the header."},
    {644, u"Symbol '$' in assignment not referenced in the header."},
    {645, u"Symbol '&' in assignment not referenced in the header."},
    {646, u"Symbol '@' in assignment not referenced in the header."},
    {647, u"Symbol '%' in assignment not referenced in the header."},
    {650,
     u" Within vector [..] brackets, a format error. Ex: vMpy[-F,ax] minus on function or vector "
     u"ID."},
    {652, u"Vector header not followed by an assignment '<...>' or a vector operation."},
    {654, u"A '<...>' vector cannot be assigned to a function header."},
    {656, u"A vector operation cannot be assigned to a function header."},
    {658, u"A '<...>' cannot be assigned to a constant ID."},
    {660, u"A vector operation cannot be assigned to a constant ID."},
    {661,
     u"On Function/Vector--legals ex: 'Ac{'; 'Ac<'; 'Ac.'; 'Ac,' or  'A{' ; 'A<' ; 'A.' ; 'A,'"},
    {662, u"A comma is expected after vector ID if a higher-order derivative is desired."},
    {664, u"A double digit (range 1 - 9) for the derivative order is expected. No parameters."},
    {665,
     u"In a macro or vector math, no digits are allowed. Use a constant ID to reference any "
     u"digits."},
    {800, u"Check for an undefined constant ID or function reference."},
    {1000, u"Check spelling: PlotDirField[ is case-sensitive."},
    {1002, u"Check for '[' in PlotDirField?"},
    {1004,
     u"Check syntax. Upper-case A-Z for function ID--may follow by a lower-case letter in "
     u"PlotDirField."},
    {1006, u"Comma must follow function ID in PlotDirField. Check for back-to-back ',,'"},
    {1008, u"Second function ID missing following ',' in PlotDirField."},
    {1010, u"Third function requested in PlotDirField not found."},
    {1012, u"Missing at least two parameters in function ID in PlotDirField."},
    {1014, u"First function ID not defined or located in PlotDirField."},
    {1016, u"Second function ID not defined or located in PlotDirField."},
    {1018, u"A '{' expected after comma to enter the range values in PlotDirField."},
    {1020, u"Range value number or constant ID not found in PlotDirField."},
    {1022, u"Check that a closing '}' follows the number of points in the range in PlotDirField."},
    {1024, u"Check that an open '{' is missing following a '}' in PlotDirField."},
    {1026,
     u"Closing ']' expected at end of PlotDirField statement."
     u"\r\n"
     u" On PlotDirField, optional color code is only one letter."},
    {1028, u"Check range values. Right value > left value in the range in PlotDirField."},
    {1030, u"Check that the number of requested values to generate the plot is > 0."},
    {1032,
     u"Problem in evaluating first function of two parameters in PlotDirField."
     u"\r\n"
     u"Check your range values: division by zero or negative square roots."},
    {1034,
     u"Problem in evaluating second function of two parameters in PlotDirField."
     u"\r\n"
     u"Check your range values: division by zero or negative square roots."},
    {1036,
     u"Problem in evaluating third optional function of two parameters in PlotDirField."
     u"\r\n"
     u"Check your range values: division by zero or negative square roots."},
    {1100, u"Check spelling: PlotField3D[ is case-sensitive."},
    {1102, u"Check for '[' in PlotField3D?"},
    {1104,
     u"Check syntax: Upper-case A-Z for function ID. May be followed by a "
     u"\r\n"
     u"lower-case letter in the PlotField3D statement."},
    {1106, u"Comma must follow function ID in PlotField3D."},
    {1108, u"Second function ID not found in PlotField3D."},
    {1109,
     u"Check syntax: Upper-case A-Z for function ID. May follow by a lower-case letter"
     u"\r\n"
     u"in PlotField3D."},
    {1114, u"First function ID not defined or located in PlotField3D."},
    {1116,
     u"Parameter missing in function defined in PlotField3D. Most likely cause: "
     u"\r\n"
     u"A double-parameter or double-parameter function was used rather than a 3-parmeter "
     u"function."},
    {1118, u"Second function ID not defined or located in PlotField3D."},
    {1120, u"Third function ID not defined or located in PlotField3D."},
    {1122, u"A '{' missing prior to the start of first set of range values in PlotField3D."},
    {1124, u"A comma expected to separate values in PlotField3D."},
    {1126, u"A closing '}' expected after first set of range values in PlotField3D."},
    {1128, u"An opening '{' expected for start of second range values in PlotField3D."},
    {1130, u"A closing '}' expected after second set of range values in PlotField3D."},
    {1132, u"An opening '{' expected for start of third set of range values in PlotField3D."},
    {1134, u"A closing '}' expected after third set of range values in PlotField3D."},
    {1136,
     u"A closing ']' expected following '}' from the third set of range values in PlotField3D."},
    {1138, u"Check range values. Right values > left values in PlotField3D."},
    {1140, u"Check that the number of requested values to generate plot > 0 in PlotField3D."},
    {1142,
     u"Problem in evaluating 1st function in PlotField3D. Check for illegal math operations."},
    {1144,
     u"Problem in evaluating 2nd function in PlotField3D. Check for illegal math operations."},
    {1146,
     u"Problem in evaluating 3rd function in PlotField3D. Check for illegal math operations."},
    {1200, u"Check spelling: PlotSlopeField[ is case-sensitive."},
    {1202, u"Check for '[' in PlotSlopeField?"},
    {1204,
     u"Check syntax: Upper-case A-Z for function ID. May follow by an optional"
     u"\r\n"
     u"lower-case letter a-z in PlotSlopeField function ID."},
    {1206, u"Comma must follow function ID in PlotSlopeField statement."},
    {1208, u"Functional ID missing or not located in PlotSlopeField statement."},
    {1210,
     u"Second parameter not defined or located in PlotSlopeField."
     u"\r\n"
     u"Functions of double parameters can not be used in this statement."},
    {1212, u"Comma must follow function ID in PlotSlopeField statement."},
    {1214, u"A '{' is expected in PlotSlopeField statement."},
    {1216, u"A '}' is expected in PlotSlopeField statement."},
    {1218,
     u"An open '{' expected to start the optional set of initial values (enclosed with '{...}'"
     u"\r\n"
     u" in PlotSlopeField statement."},
    {1220, u"Comma, '}', or ']' end markers missing or incorrect? Division by zero?"},
    {1222,
     u"A '}' is expected to close an optional set of initial value coordinates in PlotSlopeField "
     u"statement."},
    {1224, u"A ']' expected upon completion of the PlotSlopeField statement."},
    {1226, u"Range value: Right-hand value > left-hand value in PlotSlopeField."},
    {1228, u"The number of points to compute must be > 0 in PlotSlopeField."},
    {1230, u"Unable to evaluate the function. Check for illegal math operations."},
    {1232,
     u"Check the coordinate point for a particular solution outside the plotted"
     u"\r\n"
     u"slope values in PlotSlopeField."},
    {1300, u"."},
    {1310,
     u"Substitution error also occurs when a period instead of a comma separates the "
     u"\r\n"
     u"definition parameters in both the header and the expression."
     u"\r\n"
     u"sMpy, sDiv, etc. scalars cannot use numbers--use constant IDs or function ID."},
    {1320, u" Pwr[scalar value, exponent], exponent must be a numerical value."},
    {1330,
     u"Check sPwr[ command. Legal: sPwr[a,b] or sPwr[a,number]. You may also have "
     u"\r\n"
     u"                            sPwr[F,b] or sPwr[F,number], F is a function."},
    {1400, u"Check spelling of 'PlotContour' command--case sensitive."},
    {1402, u"Check command spelling."},
    {1404, u"A '[' must follow 'PlotContour' command."},
    {1406, u"Upper-case letter for function ID not located."},
    {1408, u"Comma must follow function ID."},
    {1410, u"A '{' must follow comma and prior to range constant IDs."},
    {1412, u"Function for contour not found."},
    {1414, u"Function must have two parameters."},
    {1416, u"Missing '{' prior to initial starting coordinates."},
    {1418, u"Missing '{' prior to level ranges entry."},
    {1419,
     u"If closing ']' not detected, then a '{' is required for optional {error,segment} entries."},
    {1420, u"A closing ']' required after optional {error,segment size} entries."},
    {2000, u"Check spelling -- 'IVP' is case sensitive."},
    {2010, u"Function ID must start with an upper-case 'A-Z' letter."},
    {2015, u"Function not found from your spread sheet."},
    {2020, u"Function must contain only two defined parameters."},
    {2025, u"Function cannot have a 3rd parameter. Y'(x)=F(x,y) for example.l"},
    {2030, u"A comma expected after function ID."},
    {2035, u"A '{' expected after first comma."},
    {2040, u"A '{' expected after Yo input."},
    {2045, u"A closing ']' expected at the end of the command."},
    {2050, u"A tolerance value < 1E-6 was detected. Try values 0.001 to 0.0001."},
    {2055, u"The defined distance between two Y-values cannot be negative in value."},
    {2060, u"The range for user-defined increments cannot be negative."},
    {2065, u"The maximum increment value > minimum increment value if this option is used."},
    {3500, u"Spelling error? - - BVP"},
    {3501, u"Check overall format. Check for lack of funcion ID, etc."},
    {3505, u"Missing '[' after BVP."},
    {3510, u"Function ID must be One upper-case letter & optional one lower-case letter"},
    {3515, u"A ',' expected prior to '{'."},
    {3520, u"Check function for proper number of parameters."},
    {3530, u"A ',' expected after the function ID>"},
    {3535, u"A '{' prior to first constant ID is missing."},
    {3540, u"A '}' expected after a 'Yb' right booundary value."},
    {3550, u"Right boundary > left boundary."},
    {3555, u"Symbol must be '}' to end the slopes."},
    {3556, u"A '{' expected"},
    {3557, u"A closing ']' expected."},
    {3558, u"Tolerance > 1E-5."},
    {3559, u"Tolerance cannot be negative."},
    {3560, u"Left boundary < right boundary"},
    {3600, u"Check the number of functions in the IVP[... statement."},
    {3602, u"A '{' should follow the ID of a 1st order DEQ."},
    {3603, u"A ',' should follow the 1st functon ID for a 2nd order DEQ."},
    {3604, u"A ',' expected following the 2nd order function ID."},
    {3606, u"A '{' expected to follow ',' of 2nd function ID for a 2nd order DEQ."},
    {3607, u"A ',' expected following the 2nd function for a 3rd order DEQ."},
    {3608, u"A ',' expected following the 3rd function ID."},
    {3609, u"A '{' expected following ',' of 3rd function ID for a 3rd order DEQ."},
    {3611, u"A ',' expected following the 4th function ID."},
    {3612, u"A ',' expected following the 4th function ID."},
    {3613, u"A '{' expected following ',' of 4th function ID for a 4th order DEQ."},
    {3990, u"Vertices exceeds 30,000 points. Lower the increment size/turn off grid."},
    {5000, u"Use'Integ' or all lower-case letters."},
    {5005, u"Missing '[' after 'Integ' or 'integ' command."},
    {5010, u"Function ID begins with an upper-case letter."},
    {5020, u"Common follows function Id."},
    {5050, u"A function ID reference is not found. A '{' follows comma."},
    {5060, u"Function can have only one parameter."},
    {5080, u"A closing ']' not found."},
    {5090, u"The integral limits cannot be the same value."},
    {5095, u"Number of panels to subdivide the region > 0."},
    {6000, u"Use 'Integ' or all lower-case letters."},
    {6005, u"Missing '[' after 'dblInt' or 'dblint' command."},
    {6010, u"Function ID begins with an upper-case letter."},
    {6020, u"Function parmeters within Integ[ or dblInt[ not allowed. Comma follows function ID?"},
    {6050, u"Missing 1st parameter value in 2-parmeter function."},
    {6052, u"Use lower-case 'x' or 'y' for dx or dy performed first. See docs."},
    {6060,
     u"A 2-parameter function header is expected even if its assignment is a single variable "
     u"expression."},
    {6080, u"Closing '}' or ']' expected."},
    {6090, u"The integral limits cannot be the same value."},
    {6092, u"Panels for integration > 0."},
    {6097, u"Check for back-to-back ',,'"},
};

// The messages this program adds beyond the list (refusals of statements and commands, full
// tables, expressions beyond capacity), each with the text it shows.
const MessageEntry kOwn[] = {
    {246,
     u"A value needs an operator between its names: two names, or a name and a number, stand side "
     u"by side. Ex: ab*cd or ab*2, not abcd or ab2."},
    {247, u"A number needs digits before its exponent E. Ex: 2E1 or 1E-3, not E1 or (2)E1."},
    {248, u"A parameter is repeated in the function header. Ex: F{x,y}, not F{x,x}."},
    {249, u"This constant ID is already defined by an earlier statement. Define it once."},
    {250, u"This function ID is already defined by an earlier statement. Define it once."},
    {251, u"This vector ID is already defined by an earlier statement. Define it once."},
    {289,
     u"The sign change in the bracket is a discontinuity (a pole or a jump), not a zero. Check by "
     u"plotting the function."},
    {360, u"Plot[ can draw at most six vectors. Remove the others from the list."},
    {390, u"Too many statements. Limit is 400 statements in a worksheet."},
    {391, u"Too many constants. Limit is 2000 constants."},
    {392, u"Too many functions (vector components included). Limit is 500 functions."},
    {393, u"Too many vectors. Limit is 100 vectors."},
    {394, u"Value list full. Limit is 100,000 numbers and parameter values."},
    {395, u"Too many function references in one expression. Limit is 500 references."},
    {396, u"Too many Integ[ and dblInt[ statements. Limit is 12 in a worksheet."},
    {507, u"Number of values in a function reference does not match its parameters."},
    {508, u"Expression too long or nested too deeply to compile."},
    {512,
     u"Expression too long to simplify. Limit is 32,000 characters. Ex: Use a lower order in "
     u"Diff[F,x,n]."},
    {515, u"Too many vector components. Limit is 999 component names."},
    {538, u"Overflow--Diff[ operation expression nested deeper than 500 levels."},
    {611, u"Expression too long to evaluate. Split it into smaller functions."},
    {612, u"A value outside -1 to 1 was determined in an inverse sine or cosine, ASin[ or ACos[."},
    {667, u"A vector component function can have only one parameter."},
    {991, u"Statement incomplete: fewer than three symbols."},
    {993, u"A zero or negative value was determined in a logarithm, Ln[ or Log[."},
    {996, u"In vDiff[, the derivative order is not a digit or a constant ID."},
    {1234, u"PlotSlopeField takes at most 10 start points for particular solutions."},
    {1422,
     u"Unable to evaluate the function of PlotContour at any point of the range."
     u"\r\n"
     u"It must have two parameters; check for illegal math operations."},
    {2005, u"Missing '[' after 'IVP' or 'ivp' command."},
    {2100,
     u"A function of the equation cannot be evaluated at a solution point. Check its definition."},
    {2110,
     u"No unique solution: the boundary values cannot be met. Check tb and the boundary values."},
    {2111,
     u"A trial slope gives values beyond 100,000 before tb. Try slope estimates nearer the "
     u"solution."},
    {2112,
     u"x or x' passes 100,000 or is not a number before tb. Check the equation and the boundary "
     u"values."},
    {2113,
     u"The equation is not linear in x and x': method 1 cannot meet the boundary values. Use "
     u"method 2 (shooting from two slope estimates)."},
    {2114, u"Too few steps to tell whether the boundary values can be met. Use more steps (n)."},
    {2115,
     u"The solution changes faster than the smallest step size (tol) allows. A smaller tol lowers "
     u"the smallest step. Click OK to plot the data up to this point."},
    {2116,
     u"The shooting curve does not meet xb at tb within 10 tol. Try other slope estimates or a "
     u"smaller tol."},
    {3045, u"A closing ']' expected after the number of steps."},
    {3050, u"Left boundary < right boundary"},
    {3059, u"Factor cannot be negative."},
    {3552, u"A '{' expected before the slopes."},
    {3614,
     u"No contour line was traced: no level of {c1,c2,ds} was reached from the start point in the "
     u"range."
     u"\r\n"
     u"Check the levels and the {error,segment} entries: an error above 1, or above the length of "
     u"the function's gradient, stops the lines at their start."},
    {5040, u"Comma follows the second function Id."},
    {5085, u"A division by zero encounted given the integral range."},
    {6030, u"A '{' expected before the integral limits."},
};

bool Holds(std::span<const MessageEntry> table, int16_t n) {
  return std::any_of(table.begin(), table.end(),
                     [n](const MessageEntry& e) { return e.number == n; });
}

TEST_F(MessageTextsTest, EveryTextReadsAsListed) {
  for (const MessageEntry& e : kListed) {
    SCOPED_TRACE(e.number);
    EXPECT_EQ(U8(GetMessageText(e.number)), U8(e.text));
  }
  for (const MessageEntry& e : kOwn) {
    SCOPED_TRACE(e.number);
    EXPECT_EQ(U8(GetMessageText(e.number)), U8(e.text));
  }
  // 229 alone shows a box: two lines joined by CR LF.
  ASSERT_EQ(screen_.boxes.size(), 1u);
  EXPECT_EQ(U8(screen_.boxes[0].text),
            "Program overflow--likely cause: In non-vector expressions, parameters, in non-vector "
            "\r\nstatements, on Functions must be used. Ex: F{t} = Sqrt[A{t}] & NOT Sqrt[A]");
  EXPECT_EQ(screen_.boxes[0].title, u"");
}

// The pairs that share one text, and the texts of more than one line.
TEST_F(MessageTextsTest, SharedTextsAndLineBreaks) {
  const std::pair<int16_t, int16_t> shared[] = {
      {200, 210}, {1206, 1212}, {3611, 3612}, {5010, 6010}};
  for (const auto& [a, b] : shared) {
    SCOPED_TRACE(a);
    EXPECT_EQ(U8(GetMessageText(a)), U8(GetMessageText(b)));
  }
  EXPECT_EQ(U8(GetMessageText(1300)), ".");
  const std::string t206 = U8(GetMessageText(206));
  const size_t crlf = t206.find("\r\n");
  ASSERT_NE(crlf, std::string::npos);
  EXPECT_EQ(t206.substr(crlf + 2).rfind("Check proper upper-lower spelling.", 0), 0u);
}

// Every number with a text is in one of the two lists above, so none goes unread; the numbers of
// the list are all the catalogue's.
TEST_F(MessageTextsTest, NoTextOutsideTheLists) {
  for (auto table : {MessageCatalogue(), CapacityMessages()}) {
    for (const MessageEntry& e : table) {
      SCOPED_TRACE(e.number);
      EXPECT_TRUE(Holds(kListed, e.number) || Holds(kOwn, e.number));
    }
  }
  for (const MessageEntry& e : kListed) {
    SCOPED_TRACE(e.number);
    EXPECT_TRUE(Holds(MessageCatalogue(), e.number));
  }
  EXPECT_EQ(std::size(kListed),
            385u);  // 383 of the catalogue and the two integral texts 5080, 5090
}

// Any other number reads " MSG # <n> not found. Please contact author with error number to update
// description.", the number in decimal with its sign.
TEST_F(MessageTextsTest, FallbackForNumbersWithoutText) {
  const struct {
    int16_t number;
    const char* shown;
  } cases[] = {{0, "0"},       {-2, "-2"},       {666, "666"},       {960, "960"},
               {6098, "6098"}, {32767, "32767"}, {-32768, "-32768"}, {252, "252"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(U8(GetMessageText(c.number)),
              std::string(" MSG # ") + c.shown +
                  " not found. Please contact author with error number to update description.");
  }
}

}  // namespace
}  // namespace ms
