package qel.surface;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assertions.fail;

import java.lang.reflect.InvocationTargetException;
import java.lang.reflect.Method;
import java.lang.reflect.Modifier;
import java.util.ArrayList;
import java.util.List;
import org.junit.jupiter.api.Test;

/**
 * Every native method of Native2DSolver, called with a null in each of its
 * reference arguments in turn (the others valid), throws
 * NullPointerException naming what was null, and reaches no solver routine.
 */
class NullSweepTest extends BridgeCase {
  private static Object validArgument(Method method, Class<?> type) {
    if (type == int.class) {
      return 1;
    }
    if (type == double.class) {
      return 1.0;
    }
    if (type == String.class) {
      return "SWEEP";
    }
    if (type == String[].class) {
      return new String[] {"SWEEP"};
    }
    if (type == double[].class) {
      return new double[64];
    }
    if (type == Object.class) {
      String name = method.getName();
      if (name.contains("Geometry")) {
        return SolverObjects.mesh(new double[] {1.0}, 1);
      }
      if (name.contains("Bathymetry")) {
        return SolverObjects.bathymetry(1, 1);
      }
      return SolverObjects.faces(new int[] {1}, 1.0);
    }
    throw new IllegalArgumentException(method + ": no valid value for " + type);
  }

  @Test
  void everyReferenceArgumentRefusesNull() throws Exception {
    int methods = 0;
    int sweeps = 0;
    List<String> failures = new ArrayList<>();
    for (Method method : Native2DSolver.class.getDeclaredMethods()) {
      if (!Modifier.isNative(method.getModifiers())) {
        continue;
      }
      methods++;
      Class<?>[] types = method.getParameterTypes();
      for (int i = 0; i < types.length; i++) {
        if (types[i].isPrimitive()) {
          continue;
        }
        Object[] args = new Object[types.length];
        for (int j = 0; j < types.length; j++) {
          args[j] = j == i ? null : validArgument(method, types[j]);
        }
        sweeps++;
        Journal.clear();
        try {
          method.invoke(null, args);
          failures.add(method.getName() + " argument " + i + ": no exception");
        } catch (InvocationTargetException e) {
          Throwable cause = e.getCause();
          if (!(cause instanceof NullPointerException)) {
            failures.add(method.getName() + " argument " + i + ": " + cause);
          } else {
            assertNotNull(cause.getMessage(), method.getName());
            assertTrue(cause.getMessage().endsWith(" is null"), cause.getMessage());
          }
        }
        if (!Journal.lines().isEmpty()) {
          failures.add(method.getName() + " argument " + i + " reached " + Journal.lines());
        }
      }
    }
    assertEquals(47, methods, "native methods");
    assertTrue(sweeps >= 60, "reference arguments swept: " + sweeps);
    if (!failures.isEmpty()) {
      fail(String.join("\n", failures));
    }
  }
}
