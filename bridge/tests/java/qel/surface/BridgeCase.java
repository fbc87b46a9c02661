package qel.surface;

import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.BeforeEach;
import vmz.ErrorProcessor;

/**
 * What every test class of the bridge starts from: the bridge loaded, and
 * before each test no subbasin in the solver, no message received and an
 * empty journal.
 */
abstract class BridgeCase {
  @BeforeAll
  static void load() {
    Journal.load();
  }

  @BeforeEach
  void freshSolver() {
    Native2DSolver.releaseSubbasins();
    ErrorProcessor.clear();
    Journal.clear();
  }
}
