"""Type stubs of the compiled half of the package zephalo."""

import os
from typing import List, Optional, Sequence, Tuple, Union

import numpy as np
import numpy.typing as npt

__version__: str

_Path = Union[str, os.PathLike[str]]
_Values = Union[npt.ArrayLike, Sequence[float]]
_Array = npt.NDArray[np.float64]

class Refused(RuntimeError):
    """A step or calculation refused; str(error) is the program's message."""

    message: str

def run_cli(arguments: List[str]) -> Tuple[int, str, str]:
    """Runs zephalo-cli in this process: (exit status, standard output, standard error)."""

def read_calculated(path: _Path) -> Tuple[_Array, _Array, _Array, _Array]:
    """Calculated_RIXS.DAT: (energy, total, component 1, component 2)."""

def read_measured(path: _Path) -> Tuple[_Array, _Array]:
    """The measured RIXS spectrum: (energy, intensity)."""

def read_measured_map(path: _Path) -> List[Tuple[float, Tuple[_Array, _Array]]]:
    """The measured RIXS map: [(excitation energy, (emission energy, intensity)), ...]."""
    ...

def read_selective(path: _Path) -> Tuple[_Array, _Array, _Array]:
    """SelectiveXAFS_for_RIXS.DAT: (energy, first component, second component)."""

class Model:
    """The inputs of the RIXS calculation held in memory; writes no file."""

    @staticmethod
    def from_workspace(path: _Path) -> Model:
        """Reads the calculation's inputs from a work space; raises Refused."""

    def spectrum(self, omega: float) -> Tuple[_Array, _Array, _Array, _Array]:
        """(emission energy, total, component 1, component 2) at excitation energy omega."""

    def plane(self, omegas: _Values) -> _Array:
        """The totals at every omega as a 2-D array, one row per omega."""

    def with_profile(
        self, energies: _Values, y1: _Values, y2: Optional[_Values] = None
    ) -> Model:
        """A copy with another selective XAFS."""

    def r_factor(self, omega: float, energies: _Values, intensities: _Values) -> float:
        """The compare step's R factor (percent) against a measured spectrum."""

    @property
    def selective(self) -> Tuple[_Array, _Array, _Array]:
        """The selective XAFS of this model: (energy, first, second component)."""
