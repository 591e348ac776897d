#include "app/StartApplication.h"

int main(int argc, char** argv) {
  return wyk::StartApplication(argc, argv);
}
