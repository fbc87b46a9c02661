! A test solver written in Fortran: the 46 routines of Quarnel declared as a
! Fortran solver declares them (CHARACTER(LEN=*) texts with the compiler's
! own hidden lengths, tables shaped by their counts, arrays changed in
! place, scalar results). Each records what it received (record.f90).
!
! What the routines give back:
!   in-place arrays        negated after they are recorded
!   solve routines         also relay "<ROUTINE> <subbasin>" to Java
!   boundary results       value = value + 100 code (+ k), code 1 to 5
!   cell and face results  values(c) = 100 code + c + i1/2 + i2/4 for each
!                          cell (face) of the subbasin's last geometry
! The build renames the compiler's lower-case names with a trailing
! underscore to the solver's upper-case names.

! --- Frame -------------------------------------------------------------------

subroutine setlogfile(path)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: path
  call begin('SETLOGFILE'); call put('path', path); call finish()
end subroutine setlogfile

subroutine setunitsystem(unitSystem)
  use quarnel_record
  implicit none
  integer, intent(in) :: unitSystem
  call begin('SETUNITSYSTEM'); call put('unitSystem', unitSystem); call finish()
end subroutine setunitsystem

subroutine deallocatesubbasins()
  use quarnel_record
  implicit none
  call begin('DEALLOCATESUBBASINS'); call finish()
  call forget_meshes()
end subroutine deallocatesubbasins

! --- Basin setup, geometry and bathymetry ------------------------------------

subroutine initbasinflow(count, names)
  use quarnel_record
  implicit none
  integer, intent(in) :: count
  character(len=*), intent(in) :: names(count)
  call begin('INITBASINFLOW'); call put('count', count)
  call put('names', names); call finish()
end subroutine initbasinflow

subroutine initbasinsediment(count, names)
  use quarnel_record
  implicit none
  integer, intent(in) :: count
  character(len=*), intent(in) :: names(count)
  call begin('INITBASINSEDIMENT'); call put('count', count)
  call put('names', names); call finish()
end subroutine initbasinsediment

subroutine initsubbasingeometry(subbasin, cellCount, internalCellCount, &
    cellFaceValueCount, maxNodesPerCell, cellCoordinates, cellBathAreas, &
    cellFaceOrientationInfo, cellFaceOrientationValues, cellNodeIndices, &
    nodeCount, nodeCellValueCount, nodeCoordinates, nodeCellInfo, &
    nodeCellValues, nodeFaceOrientationInfo, nodeFaceOrientationValues, &
    faceCount, faceNormalVector, faceVectorLength, faceNodeIndices)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  integer, intent(in) :: cellCount, internalCellCount, cellFaceValueCount, &
                         maxNodesPerCell, nodeCount, nodeCellValueCount, faceCount
  real(8), intent(in) :: cellCoordinates(2, cellCount), cellBathAreas(cellCount)
  integer, intent(in) :: cellFaceOrientationInfo(2, cellCount), &
                         cellFaceOrientationValues(2, cellFaceValueCount), &
                         cellNodeIndices(maxNodesPerCell, cellCount)
  real(8), intent(in) :: nodeCoordinates(2, nodeCount)
  integer, intent(in) :: nodeCellInfo(2, nodeCount), &
                         nodeCellValues(nodeCellValueCount), &
                         nodeFaceOrientationInfo(2, nodeCount), &
                         nodeFaceOrientationValues(2, cellFaceValueCount)
  real(8), intent(in) :: faceNormalVector(2, faceCount), faceVectorLength(faceCount)
  integer, intent(in) :: faceNodeIndices(2, faceCount)
  call begin('INITSUBBASINGEOMETRY'); call put('subbasin', subbasin)
  call put('cellCount', cellCount); call put('internalCellCount', internalCellCount)
  call put('cellFaceValueCount', cellFaceValueCount)
  call put('maxNodesPerCell', maxNodesPerCell)
  call put('cellCoordinates', cellCoordinates); call put('cellBathAreas', cellBathAreas)
  call put('cellFaceOrientationInfo', cellFaceOrientationInfo)
  call put('cellFaceOrientationValues', cellFaceOrientationValues)
  call put('cellNodeIndices', cellNodeIndices); call put('nodeCount', nodeCount)
  call put('nodeCellValueCount', nodeCellValueCount)
  call put('nodeCoordinates', nodeCoordinates); call put('nodeCellInfo', nodeCellInfo)
  call put('nodeCellValues', nodeCellValues)
  call put('nodeFaceOrientationInfo', nodeFaceOrientationInfo)
  call put('nodeFaceOrientationValues', nodeFaceOrientationValues)
  call put('faceCount', faceCount); call put('faceNormalVector', faceNormalVector)
  call put('faceVectorLength', faceVectorLength)
  call put('faceNodeIndices', faceNodeIndices); call finish()
  call keep_mesh(subbasin, cellCount, faceCount)
end subroutine initsubbasingeometry

subroutine initsubbasinbathymetry(subbasin, cellCount, cellVolumeElevationCount, &
    faceCount, faceAreaElevationCount, cellVolumeElevationInfo, &
    cellVolumeElevationValues, faceAreaElevationInfo, faceAreaElevationValues)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  integer, intent(in) :: cellCount, cellVolumeElevationCount, faceCount, &
                         faceAreaElevationCount
  integer, intent(in) :: cellVolumeElevationInfo(2, cellCount), &
                         faceAreaElevationInfo(2, faceCount)
  real(8), intent(in) :: cellVolumeElevationValues(2, cellVolumeElevationCount), &
                         faceAreaElevationValues(4, faceAreaElevationCount)
  call begin('INITSUBBASINBATHYMETRY'); call put('subbasin', subbasin)
  call put('cellCount', cellCount)
  call put('cellVolumeElevationCount', cellVolumeElevationCount)
  call put('faceCount', faceCount)
  call put('faceAreaElevationCount', faceAreaElevationCount)
  call put('cellVolumeElevationInfo', cellVolumeElevationInfo)
  call put('cellVolumeElevationValues', cellVolumeElevationValues)
  call put('faceAreaElevationInfo', faceAreaElevationInfo)
  call put('faceAreaElevationValues', faceAreaElevationValues); call finish()
end subroutine initsubbasinbathymetry

! --- Boundary conditions -----------------------------------------------------

subroutine initboundarynormaldepth(subbasin, boundary, faceCount, faceIndices, &
                                   faceFractions, value)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin, boundary
  integer, intent(in) :: faceCount, faceIndices(faceCount)
  real(8), intent(in) :: faceFractions(faceCount), value
  call boundary_faces('INITBOUNDARYNORMALDEPTH', subbasin, boundary, faceCount, &
                      faceIndices, faceFractions)
  call put('value', value); call finish()
end subroutine initboundarynormaldepth

subroutine initboundaryratingcurve(subbasin, boundary, faceCount, faceIndices, &
                                   faceFractions, curveInt, curve1, curve2)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin, boundary
  integer, intent(in) :: faceCount, faceIndices(faceCount), curveInt
  real(8), intent(in) :: faceFractions(faceCount)
  real(8), intent(inout) :: curve1(curveInt), curve2(curveInt)
  call boundary_faces('INITBOUNDARYRATINGCURVE', subbasin, boundary, faceCount, &
                      faceIndices, faceFractions)
  call put('curveInt', curveInt); call put('curve1', curve1)
  call put('curve2', curve2); call finish()
  call negate(curve1); call negate(curve2)
end subroutine initboundaryratingcurve

subroutine initboundaryflow(subbasin, boundary, faceCount, faceIndices, &
                            faceFractions, value)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin, boundary
  integer, intent(in) :: faceCount, faceIndices(faceCount)
  real(8), intent(in) :: faceFractions(faceCount), value
  call boundary_faces('INITBOUNDARYFLOW', subbasin, boundary, faceCount, &
                      faceIndices, faceFractions)
  call put('value', value); call finish()
end subroutine initboundaryflow

subroutine initboundarystage(subbasin, boundary, faceCount, faceIndices, &
                             faceFractions, value)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin, boundary
  integer, intent(in) :: faceCount, faceIndices(faceCount)
  real(8), intent(in) :: faceFractions(faceCount), value
  call boundary_faces('INITBOUNDARYSTAGE', subbasin, boundary, faceCount, &
                      faceIndices, faceFractions)
  call put('value', value); call finish()
end subroutine initboundarystage

subroutine setboundaryvalueflow(subbasin, boundary, value)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin, boundary
  real(8), intent(in) :: value
  call boundary_value('SETBOUNDARYVALUEFLOW', subbasin, boundary, value)
end subroutine setboundaryvalueflow

subroutine setboundaryvaluestage(subbasin, boundary, value)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin, boundary
  real(8), intent(in) :: value
  call boundary_value('SETBOUNDARYVALUESTAGE', subbasin, boundary, value)
end subroutine setboundaryvaluestage

subroutine setboundaryvaluetotalload(subbasin, boundary, value)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin, boundary
  real(8), intent(in) :: value
  call boundary_value('SETBOUNDARYVALUETOTALLOAD', subbasin, boundary, value)
end subroutine setboundaryvaluetotalload

! --- Flow control, initial state and solving ---------------------------------

subroutine setsubbasinnumberthreads(subbasin, threads)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  integer, intent(in) :: threads
  call begin('SETSUBBASINNUMBERTHREADS'); call put('subbasin', subbasin)
  call put('threads', threads); call finish()
end subroutine setsubbasinnumberthreads

subroutine setsubbasinimplicitfactor(subbasin, factor)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  real(8), intent(in) :: factor
  call begin('SETSUBBASINIMPLICITFACTOR'); call put('subbasin', subbasin)
  call put('factor', factor); call finish()
end subroutine setsubbasinimplicitfactor

subroutine setsubbasincontrolparameters(subbasin, c1, c2, c3, c4, c5)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  real(8), intent(in) :: c1, c2, c3, c4
  integer, intent(in) :: c5
  call begin('SETSUBBASINCONTROLPARAMETERS'); call put('subbasin', subbasin)
  call put('c1', c1); call put('c2', c2); call put('c3', c3); call put('c4', c4)
  call put('c5', c5); call finish()
end subroutine setsubbasincontrolparameters

subroutine initsubbasinflow(subbasin)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  call name_only('INITSUBBASINFLOW', subbasin)
end subroutine initsubbasinflow

subroutine initsubbasinflowstate(subbasin)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  call name_only('INITSUBBASINFLOWSTATE', subbasin)
end subroutine initsubbasinflowstate

subroutine initsubbasinwarmup(subbasin, w1, w2)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  real(8), intent(in) :: w1, w2
  call begin('INITSUBBASINWARMUP'); call put('subbasin', subbasin)
  call put('w1', w1); call put('w2', w2); call finish()
end subroutine initsubbasinwarmup

subroutine solvesubbasinflow(subbasin, n, a, p1, p2)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  integer, intent(in) :: n
  real(8), intent(inout) :: a(n)
  real(8), intent(in) :: p1, p2
  call begin('SOLVESUBBASINFLOW'); call put('subbasin', subbasin); call put('n', n)
  call put('a', a); call put('p1', p1); call put('p2', p2); call finish()
  call relay('SOLVESUBBASINFLOW '//trim(text_of(subbasin)))
  call negate(a)
end subroutine solvesubbasinflow

subroutine solvesubbasinflowsediment(subbasin, n, a1, a2, a3, p1, p2)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  integer, intent(in) :: n
  real(8), intent(inout) :: a1(n), a2(n), a3(n)
  real(8), intent(in) :: p1, p2
  call begin('SOLVESUBBASINFLOWSEDIMENT'); call put('subbasin', subbasin)
  call put('n', n); call put('a1', a1); call put('a2', a2); call put('a3', a3)
  call put('p1', p1); call put('p2', p2); call finish()
  call relay('SOLVESUBBASINFLOWSEDIMENT '//trim(text_of(subbasin)))
  call negate(a1); call negate(a2); call negate(a3)
end subroutine solvesubbasinflowsediment

! --- Sediment configuration --------------------------------------------------

subroutine initsubbasinsediment(subbasin)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  call name_only('INITSUBBASINSEDIMENT', subbasin)
end subroutine initsubbasinsediment

subroutine setfallvelocitymethod(subbasin, method)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin, method
  call begin('SETFALLVELOCITYMETHOD'); call put('subbasin', subbasin)
  call put('method', method); call finish()
end subroutine setfallvelocitymethod

subroutine settransportpotentialmethod(subbasin, method)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin, method
  call begin('SETTRANSPORTPOTENTIALMETHOD'); call put('subbasin', subbasin)
  call put('method', method); call finish()
end subroutine settransportpotentialmethod

subroutine setcohesivetransportmethod(subbasin, method, m, d1, d2, d3, d4)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin, method
  integer, intent(in) :: m
  real(8), intent(inout) :: d1(m), d2(m), d3(m), d4(m)
  call begin('SETCOHESIVETRANSPORTMETHOD'); call put('subbasin', subbasin)
  call put('method', method); call put('m', m); call put('d1', d1)
  call put('d2', d2); call put('d3', d3); call put('d4', d4); call finish()
  call negate(d1); call negate(d2); call negate(d3); call negate(d4)
end subroutine setcohesivetransportmethod

subroutine setsedimentproperties(g, p, s1, s2, s3, s4)
  use quarnel_record
  implicit none
  integer, intent(in) :: g
  real(8), intent(inout) :: p(g)
  real(8), intent(in) :: s1, s2, s3, s4
  call begin('SETSEDIMENTPROPERTIES'); call put('g', g); call put('p', p)
  call put('s1', s1); call put('s2', s2); call put('s3', s3); call put('s4', s4)
  call finish()
  call negate(p)
end subroutine setsedimentproperties

subroutine setsedimenttransportparameters(subbasin, r1, r, r2, x1, x2)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  integer, intent(in) :: r
  real(8), intent(inout) :: r1(r)
  real(8), intent(in) :: r2, x1, x2
  call begin('SETSEDIMENTTRANSPORTPARAMETERS'); call put('subbasin', subbasin)
  call put('r1', r1); call put('r', r); call put('r2', r2); call put('x1', x1)
  call put('x2', x2); call finish()
  call negate(r1)
end subroutine setsedimenttransportparameters

subroutine setsubbasinmobilityfactor(subbasin, factor)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  real(8), intent(in) :: factor
  call begin('SETSUBBASINMOBILITYFACTOR'); call put('subbasin', subbasin)
  call put('factor', factor); call finish()
end subroutine setsubbasinmobilityfactor

subroutine setgrainsizefractions(subbasin, g1, g2, f)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  integer, intent(in) :: g1, g2
  real(8), intent(inout) :: f(g1, g2)
  call begin('SETGRAINSIZEFRACTIONS'); call put('subbasin', subbasin)
  call put('g1', g1); call put('g2', g2); call put('f', f); call finish()
  call negate(f)
end subroutine setgrainsizefractions

subroutine checksedimentsetup(subbasin)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  call name_only('CHECKSEDIMENTSETUP', subbasin)
end subroutine checksedimentsetup

! --- Results -----------------------------------------------------------------

subroutine getboundaryoutflow(subbasin, boundary, value)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin, boundary
  real(8), intent(inout) :: value
  call boundary_result('GETBOUNDARYOUTFLOW', subbasin, boundary, value, 1)
end subroutine getboundaryoutflow

subroutine getboundarystage(subbasin, boundary, value)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin, boundary
  real(8), intent(inout) :: value
  call boundary_result('GETBOUNDARYSTAGE', subbasin, boundary, value, 2)
end subroutine getboundarystage

subroutine getboundaryload(subbasin, boundary, value, k)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin, boundary
  real(8), intent(inout) :: value
  integer, intent(in) :: k
  call begin('GETBOUNDARYLOAD'); call put('subbasin', subbasin)
  call put('boundary', boundary); call put('value', value); call put('k', k)
  call finish()
  value = value + 300 + k
end subroutine getboundaryload

subroutine getboundarytotalload(subbasin, boundary, value)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin, boundary
  real(8), intent(inout) :: value
  call boundary_result('GETBOUNDARYTOTALLOAD', subbasin, boundary, value, 4)
end subroutine getboundarytotalload

subroutine getboundarytotalconcentration(subbasin, boundary, value)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin, boundary
  real(8), intent(inout) :: value
  call boundary_result('GETBOUNDARYTOTALCONCENTRATION', subbasin, boundary, value, 5)
end subroutine getboundarytotalconcentration

subroutine getsubbasincellareawet(subbasin, values, i1)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  real(8), intent(out) :: values(*)
  integer, intent(in) :: i1
  call subbasin_result('GETSUBBASINCELLAREAWET', subbasin, values, &
                       cells_of(subbasin), 1, i1)
end subroutine getsubbasincellareawet

subroutine getsubbasincellvolume(subbasin, values, i1)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  real(8), intent(out) :: values(*)
  integer, intent(in) :: i1
  call subbasin_result('GETSUBBASINCELLVOLUME', subbasin, values, &
                       cells_of(subbasin), 2, i1)
end subroutine getsubbasincellvolume

subroutine getsubbasincellwaterlevel(subbasin, values, i1)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  real(8), intent(out) :: values(*)
  integer, intent(in) :: i1
  call subbasin_result('GETSUBBASINCELLWATERLEVEL', subbasin, values, &
                       cells_of(subbasin), 3, i1)
end subroutine getsubbasincellwaterlevel

subroutine getsubbasincellvelocity(subbasin, values, i1)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  real(8), intent(out) :: values(*)
  integer, intent(in) :: i1
  call subbasin_result('GETSUBBASINCELLVELOCITY', subbasin, values, &
                       cells_of(subbasin), 4, i1)
end subroutine getsubbasincellvelocity

subroutine getsubbasinfacevelocity(subbasin, values, i1)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  real(8), intent(out) :: values(*)
  integer, intent(in) :: i1
  call subbasin_result('GETSUBBASINFACEVELOCITY', subbasin, values, &
                       faces_of(subbasin), 5, i1)
end subroutine getsubbasinfacevelocity

subroutine getsubbasincelltotalconcentration(subbasin, values, i1)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  real(8), intent(out) :: values(*)
  integer, intent(in) :: i1
  call subbasin_result('GETSUBBASINCELLTOTALCONCENTRATION', subbasin, values, &
                       cells_of(subbasin), 6, i1)
end subroutine getsubbasincelltotalconcentration

subroutine getsubbasincelltotalbedchange(subbasin, values, i1)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  real(8), intent(out) :: values(*)
  integer, intent(in) :: i1
  call subbasin_result('GETSUBBASINCELLTOTALBEDCHANGE', subbasin, values, &
                       cells_of(subbasin), 7, i1)
end subroutine getsubbasincelltotalbedchange

subroutine getsubbasincellconcentration(subbasin, values, i1, i2)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  real(8), intent(out) :: values(*)
  integer, intent(in) :: i1, i2
  call subbasin_result('GETSUBBASINCELLCONCENTRATION', subbasin, values, &
                       cells_of(subbasin), 8, i1, i2)
end subroutine getsubbasincellconcentration

subroutine getsubbasincellbedchange(subbasin, values, i1, i2)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  real(8), intent(out) :: values(*)
  integer, intent(in) :: i1, i2
  call subbasin_result('GETSUBBASINCELLBEDCHANGE', subbasin, values, &
                       cells_of(subbasin), 9, i1, i2)
end subroutine getsubbasincellbedchange

subroutine getsubbasincellactivefraction(subbasin, values, i1, i2)
  use quarnel_record
  implicit none
  character(len=*), intent(in) :: subbasin
  real(8), intent(out) :: values(*)
  integer, intent(in) :: i1, i2
  call subbasin_result('GETSUBBASINCELLACTIVEFRACTION', subbasin, values, &
                       cells_of(subbasin), 10, i1, i2)
end subroutine getsubbasincellactivefraction
