#include "app/callbacks.h"

#include <GL/freeglut.h>

#include "input/keyboard.h"
#include "render/graphics.h"

static_assert(kSpecialLeft == GLUT_KEY_LEFT && kSpecialUp == GLUT_KEY_UP &&
                  kSpecialRight == GLUT_KEY_RIGHT && kSpecialDown == GLUT_KEY_DOWN,
              "the input code's arrow codes must be freeglut's");

void registerCallbacks() {
    glutDisplayFunc(onDisplay);
    glutReshapeFunc(onReshape);
    glutKeyboardFunc(onKeyDown);
    glutKeyboardUpFunc(onKeyUp);
    glutSpecialFunc(onSpecialDown);
    glutSpecialUpFunc(onSpecialUp);
}
